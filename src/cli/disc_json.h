#pragma once
// JSON objects of a disc's title sets: a VOB run's object with the disc's keys.

#include <nlohmann/json.hpp>
#include <string>

#include "analysis/disc.h"
#include "analysis/report.h"
#include "lang/language_table.h"
#include "view/track_slots.h"

namespace tonvika::cli {

// "path" (the title set's first VOB), "source", "title_set", "main_feature",
// "title", "title_length_s", "titles", then every further key of a VOB
// run's object.
nlohmann::ordered_json TitleSetToJson(const Disc& disc, const TitleSet& set, const AnalysisReport& outcome,
                                      const TrackSlots& slots, const LanguageTable& table,
                                      DisplayLanguage language, std::string_view eol);

// A title set that could not be read through `title`: the disc's keys and
// "error".
nlohmann::ordered_json TitleSetErrorToJson(const Disc& disc, const TitleSet& set, std::optional<int> title,
                                           const std::string& error);

// Every title of the disc: "title", "title_set", "length_s", "chapters",
// "cells", "angles".
nlohmann::ordered_json TitlesJson(const std::vector<DiscTitle>& titles);

// The longest title in seconds, to the millisecond; null when unknown.
nlohmann::ordered_json TitleLengthJson(const std::optional<double>& seconds);

}  // namespace tonvika::cli
