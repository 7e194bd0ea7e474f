#include "cli/disc_json.h"

#include "cli/json_output.h"

namespace tonvika::cli {

namespace {

nlohmann::ordered_json DiscKeys(const std::string& source, const TitleSet& set) {
  nlohmann::ordered_json json;
  json["path"] = set.paths.vob;
  json["source"] = source;
  json["title_set"] = set.number;
  json["main_feature"] = set.main_feature;
  json["title_length_s"] = TitleLengthJson(set.longest_title_s);
  return json;
}

}  // namespace

nlohmann::ordered_json TitleLengthJson(const std::optional<double>& seconds) {
  if (!seconds) return nullptr;
  // Lengths are never negative: to the nearest millisecond by truncation.
  return static_cast<double>(static_cast<long long>(*seconds * 1000.0 + 0.5)) / 1000.0;
}

nlohmann::ordered_json TitleSetToJson(const std::string& source, const TitleSet& set, const AnalysisReport& outcome,
                                      const TrackSlots& slots, const LanguageTable& table,
                                      DisplayLanguage language, std::string_view eol) {
  nlohmann::ordered_json json = DiscKeys(source, set);
  nlohmann::ordered_json run = FileToJson(set.paths.vob, outcome, slots, table, language, eol);
  for (auto& [key, value] : run.items()) {
    if (key != "path") json[key] = std::move(value);
  }
  return json;
}

nlohmann::ordered_json TitleSetErrorToJson(const std::string& source, const TitleSet& set,
                                           const std::string& error) {
  nlohmann::ordered_json json = DiscKeys(source, set);
  json["error"] = error;
  return json;
}

}  // namespace tonvika::cli
