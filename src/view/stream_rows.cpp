#include "view/stream_rows.h"

#include <cstdio>

#include "analysis/frame_notes.h"

namespace tonvika {

namespace {

constexpr const char* kNothing = "-";

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f s", seconds);
  return text;
}

std::string ChangeLine(const HeaderChange& change) {
  std::string line = "frame " + std::to_string(change.frame) + " at " + ClockTime(change.time_s);
  if (change.pts) line += " (PTS " + std::to_string(*change.pts) + ")";
  return line + ": " + HeaderInShort(change.header);
}

void FillWalk(const AudioStream& stream, StreamRow& row) {
  row.frames = row.duration = row.crc_errors = row.resyncs = kNothing;
  if (!stream.walk) return;
  const FrameWalk& walk = *stream.walk;
  row.frames = std::to_string(walk.frames);
  row.duration = Seconds(walk.duration_s);
  if (walk.crc_errors) row.crc_errors = std::to_string(*walk.crc_errors);
  row.resyncs = std::to_string(walk.resyncs);
  for (const HeaderChange& change : walk.changes) row.changes.push_back(ChangeLine(change));
}

}  // namespace

StreamRow StreamRowOf(const AudioStream& stream, const std::function<std::string(const std::string&)>& language_name) {
  StreamRow row;
  row.id = stream.stream_id ? StreamIdText(*stream.stream_id) : kNothing;
  row.kind = StreamKindName(stream.kind);
  row.summary = stream.summary.empty() ? kNothing : stream.summary;
  const std::string& code = stream.language_code;
  row.language = code.empty() || code == "none" ? kNothing : (language_name ? language_name(code) : code);
  row.packets = std::to_string(stream.packets);
  FillWalk(stream, row);
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
