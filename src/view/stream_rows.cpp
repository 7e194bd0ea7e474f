#include "view/stream_rows.h"


namespace tonvika {

namespace {

constexpr const char* kNothing = "-";

}  // namespace

StreamRow StreamRowOf(const AudioStream& stream, const std::function<std::string(const std::string&)>& language_name) {
  StreamRow row;
  row.id = StreamIdText(stream.stream_id);
  row.kind = StreamKindName(stream.kind);
  row.summary = stream.summary.empty() ? kNothing : stream.summary;
  const std::string& code = stream.language_code;
  row.language = code.empty() || code == "none" ? kNothing : (language_name ? language_name(code) : code);
  row.packets = std::to_string(stream.packets);
  row.delay = stream.delay_ms ? std::to_string(*stream.delay_ms) + " ms" : kNothing;
  row.slot = stream.slot ? "Tr" + std::to_string(*stream.slot + 1) : "not listed";
  return row;
}

std::vector<StreamRow> StreamRows(const AnalysisReport& report,
                                  const std::function<std::string(const std::string&)>& language_name) {
  std::vector<StreamRow> rows;
  rows.reserve(report.streams.size());
  for (const AudioStream& stream : report.streams) rows.push_back(StreamRowOf(stream, language_name));
  return rows;
}

}  // namespace tonvika
