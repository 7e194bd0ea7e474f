#pragma once
// JSON output: one object per file.

#include <nlohmann/json.hpp>
#include <string>

#include "analysis/analysis_run.h"

namespace tonvika::cli {

nlohmann::ordered_json FileToJson(const std::string& path, const RunOutcome& outcome,
                                  const TrackSlots& slots, const LanguageTable& table,
                                  DisplayLanguage language, std::string_view eol);
nlohmann::ordered_json FileErrorToJson(const std::string& path, const std::string& error);

}  // namespace tonvika::cli
