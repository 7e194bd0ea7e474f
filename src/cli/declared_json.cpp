#include "cli/declared_json.h"

#include "analysis/stream_overview.h"
#include "cli/json_values.h"

namespace tonvika::cli {

namespace {

nlohmann::ordered_json NameOrNull(const std::optional<std::string_view>& name) {
  return name ? nlohmann::ordered_json(std::string(*name)) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json EntryToJson(const DeclaredAudioEntry& entry) {
  nlohmann::ordered_json json;
  json["entry"] = entry.index;
  json["coding"] = NameOrNull(AudioCodingName(entry.coding_mode));
  json["coding_mode"] = entry.coding_mode;
  json["multichannel_extension"] = entry.multichannel_extension;
  json["language_type"] = entry.language_type;
  const bool named = !entry.language_code.empty() && entry.language_code != "none";
  json["language_code"] = named ? nlohmann::ordered_json(entry.language_code) : nlohmann::ordered_json(nullptr);
  json["code_extension"] = entry.code_extension;
  json["content"] = NameOrNull(CodeExtensionName(entry.code_extension));
  json["application_mode"] = NameOrNull(ApplicationModeName(entry.application_mode));
  json["quantization"] = entry.quantization;
  json["bits_per_sample"] = OrNull(DeclaredBitsPerSample(entry));
  json["sample_rate_hz"] = OrNull(DeclaredSampleRate(entry));
  json["channels"] = entry.channels;
  json["stream_number"] = OrNull(entry.stream_number);
  json["stream_id"] = OrNull(DeclaredStreamId(entry));
  return json;
}

}  // namespace

nlohmann::ordered_json DeclaredToJson(const DeclaredAudio& declared) {
  nlohmann::ordered_json entries = nlohmann::ordered_json::array();
  for (const DeclaredAudioEntry& entry : declared.entries) entries.push_back(EntryToJson(entry));
  return entries;
}

nlohmann::ordered_json NotesToJson(const std::vector<RunNote>& notes) {
  nlohmann::ordered_json json = nlohmann::ordered_json::array();
  for (const RunNote& note : notes) {
    json.push_back({{"code", std::string(NoteCodeName(note.code))},
                    {"stream_id", OrNull(note.stream_id)},
                    {"text", note.text}});
  }
  return json;
}

}  // namespace tonvika::cli
