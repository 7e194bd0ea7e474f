#include "cli/disc_json.h"

#include "cli/json_output.h"
#include "cli/json_values.h"

namespace tonvika::cli {

namespace {

nlohmann::ordered_json DiscKeys(const Disc& disc, const TitleSet& set, std::optional<int> title) {
  const DiscTitle* analysed = title ? disc.FindTitle(*title) : nullptr;
  nlohmann::ordered_json json;
  json["path"] = set.paths.vob;
  json["source"] = disc.Source();
  json["title_set"] = set.number;
  json["main_feature"] = set.main_feature;
  json["title"] = OrNull(title);
  json["title_length_s"] = TitleLengthJson(analysed != nullptr ? analysed->seconds : set.longest_title_s);
  json["titles"] = TitlesJson(disc.Titles());
  return json;
}

}  // namespace

nlohmann::ordered_json TitleLengthJson(const std::optional<double>& seconds) {
  if (!seconds) return nullptr;
  // Lengths are never negative: to the nearest millisecond by truncation.
  return static_cast<double>(static_cast<long long>(*seconds * 1000.0 + 0.5)) / 1000.0;
}

nlohmann::ordered_json TitlesJson(const std::vector<DiscTitle>& titles) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const DiscTitle& title : titles) {
    nlohmann::ordered_json json;
    json["title"] = title.number;
    json["title_set"] = title.title_set;
    json["length_s"] = TitleLengthJson(title.seconds);
    json["chapters"] = title.chapters;
    json["cells"] = title.cells;
    json["angles"] = title.angles;
    list.push_back(std::move(json));
  }
  return list;
}

nlohmann::ordered_json TitleSetToJson(const Disc& disc, const TitleSet& set, const AnalysisReport& outcome,
                                      const TrackSlots& slots, const LanguageTable& table,
                                      DisplayLanguage language, std::string_view eol) {
  nlohmann::ordered_json json = DiscKeys(disc, set, outcome.title);
  nlohmann::ordered_json run = FileToJson(set.paths.vob, outcome, slots, table, language, eol);
  for (auto& [key, value] : run.items()) {
    if (key != "path") json[key] = std::move(value);
  }
  return json;
}

nlohmann::ordered_json TitleSetErrorToJson(const Disc& disc, const TitleSet& set, std::optional<int> title,
                                           const std::string& error) {
  nlohmann::ordered_json json = DiscKeys(disc, set, title);
  json["error"] = error;
  return json;
}

}  // namespace tonvika::cli
