#include "cli/json_output.h"

#include "view/details_text.h"
#include "view/track_slots.h"
#include <cmath>

#include "analysis/stream_mapping.h"
#include "cli/declared_json.h"
#include "cli/json_values.h"
#include "codecs/header_values.h"

namespace tonvika::cli {

namespace {

const char* KindName(TrackKind kind) { return StreamKindName(StreamKindOf(kind)); }

nlohmann::ordered_json LanguageName(const std::string& code, const LanguageTable& table, DisplayLanguage language) {
  const bool named = !code.empty() && code != "none";
  return named ? nlohmann::ordered_json(LookupLanguageName(table, code, language)) : nullptr;
}

// Whole kilobits as an integer (448, not 448.0); 1411.2 stays as it is.
nlohmann::ordered_json BitRate(const std::optional<double>& kbps) {
  if (!kbps) return nullptr;
  const auto whole = static_cast<long long>(*kbps);  // bit rates are positive
  if (static_cast<double>(whole) == *kbps) return whole;
  return *kbps;
}

// Seconds (and rates) to three decimals: what a script compares.
nlohmann::ordered_json Milliseconds(double value) { return std::round(value * 1000.0) / 1000.0; }

nlohmann::ordered_json HeaderToJson(const TrackHeader& header) {
  const HeaderValues values = ValuesOf(header);
  nlohmann::ordered_json json;
  json["bit_rate_kbps"] = BitRate(values.bit_rate_kbps);
  json["sample_rate_hz"] = OrNull(values.sample_rate_hz);
  json["channels"] = OrNull(values.channels);
  json["lfe"] = OrNull(values.lfe);
  json["bits_per_sample"] = OrNull(values.bits_per_sample);
  json["layout"] = OrNull(values.layout);
  // MPEG audio alone: the version by ID and the layer's number.
  if (values.version) json["version"] = *values.version;
  if (values.layer) json["layer"] = *values.layer;
  nlohmann::ordered_json fields = nlohmann::ordered_json::object();
  for (const NamedField& field : values.fields) fields[std::string(field.name)] = field.value;
  json["fields"] = std::move(fields);
  return json;
}

nlohmann::ordered_json StreamToJson(const AudioStream& stream, const LanguageTable& table, DisplayLanguage language) {
  nlohmann::ordered_json json;
  json["stream_id"] = OrNull(stream.stream_id);
  json["kind"] = StreamKindName(stream.kind);
  json["summary"] = stream.summary;
  json["header"] = stream.header ? HeaderToJson(*stream.header) : nullptr;
  json["declared_entry"] = OrNull(stream.declared_entry);
  json["language_code"] = stream.language_code;
  json["language_name"] = LanguageName(stream.language_code, table, language);
  json["slot"] = stream.slot ? nlohmann::ordered_json(*stream.slot + 1) : nullptr;
  json["packets"] = stream.packets;
  json["scrambled_packets"] = stream.scrambled;
  json["first_pts"] = OrNull(stream.first_pts);
  json["delay_ms"] = OrNull(stream.delay_ms);
  const std::optional<FrameWalk>& walk = stream.walk;
  json["frames"] = walk ? nlohmann::ordered_json(walk->frames) : nullptr;
  json["duration_s"] = walk ? Milliseconds(walk->duration_s) : nullptr;
  json["crc_errors"] = walk ? OrNull(walk->crc_errors) : nullptr;
  json["resyncs"] = walk ? nlohmann::ordered_json(walk->resyncs) : nullptr;
  json["changes"] = nlohmann::ordered_json::array();
  if (walk) {
    for (const HeaderChange& change : walk->changes) {
      json["changes"].push_back({{"frame", change.frame},
                                 {"pts", OrNull(change.pts)},
                                 {"time_s", Milliseconds(change.time_s)},
                                 {"header", HeaderToJson(change.header)}});
    }
  }
  json["measured_bit_rate_kbps"] = stream.measured_bit_rate_kbps ? Milliseconds(*stream.measured_bit_rate_kbps) : nullptr;
  return json;
}

nlohmann::ordered_json SlotToJson(int n, const AnalysisReport& outcome, const TrackSlots& slots,
                                  const LanguageTable& table, DisplayLanguage language) {
  nlohmann::ordered_json slot;
  slot["number"] = n + 1;
  slot["kind_text"] = slots.KindText(n);
  const auto& track = outcome.tracks[n];
  slot["kind"] = track ? nlohmann::ordered_json(KindName(track->kind)) : nullptr;
  const std::string& code = outcome.language_codes[n];
  slot["language_code"] = code;
  slot["language_name"] = LanguageName(code, table, language);
  slot["tab_shown"] = slots.TabShown(n);
  slot["detail_lines"] = slots.PageLines(n);
  slot["stream_id"] = track ? OrNull(track->stream_id) : nullptr;
  slot["header"] = track ? HeaderToJson(track->header) : nullptr;
  return slot;
}

}  // namespace

nlohmann::ordered_json FileToJson(const std::string& path, const AnalysisReport& outcome,
                                  const TrackSlots& slots, const LanguageTable& table,
                                  DisplayLanguage language, std::string_view eol) {
  nlohmann::ordered_json file;
  file["path"] = path;
  file["changed"] = outcome.changed;
  file["ifo"] = outcome.ifo_path.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(outcome.ifo_path);
  file["slots"] = nlohmann::ordered_json::array();
  for (int n = 0; n < kSlotCount; ++n) {
    file["slots"].push_back(SlotToJson(n, outcome, slots, table, language));
  }
  file["rows"] = nlohmann::ordered_json::array();
  for (const auto& row : slots.Rows()) file["rows"].push_back({{"number", row.number}, {"kind_text", row.kind}});
  file["listed_slot_mask"] = slots.ListedSlotMask();
  file["detail_slot_mask"] = slots.DetailSlotMask();
  file["list_report"] = slots.ListReport();
  file["details_text"] = slots.DetailSlotMask() != 0 ? BuildDetailsText(path, slots, eol) : std::string();
  file["notes"] = NotesToJson(outcome.notes);
  file["declared"] = DeclaredToJson(outcome.declared);
  file["video_first_pts"] = OrNull(outcome.video_first_pts);
  file["streams"] = nlohmann::ordered_json::array();
  for (const AudioStream& stream : outcome.streams) file["streams"].push_back(StreamToJson(stream, table, language));
  return file;
}

nlohmann::ordered_json FileErrorToJson(const std::string& path, const std::string& error) {
  return {{"path", path}, {"error", error}};
}

}  // namespace tonvika::cli
