#pragma once
// JSON output: one object per file.

#include <nlohmann/json.hpp>
#include <string>

#include "analysis/report.h"
#include "lang/language_table.h"
#include "view/track_slots.h"

namespace tonvika::cli {

nlohmann::ordered_json FileToJson(const std::string& path, const AnalysisReport& outcome,
                                  const TrackSlots& slots, const LanguageTable& table,
                                  DisplayLanguage language, std::string_view eol);
nlohmann::ordered_json FileErrorToJson(const std::string& path, const std::string& error);

}  // namespace tonvika::cli
