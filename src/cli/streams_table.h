#pragma once
// --streams: the report's audio streams as an aligned text table.

#include <string>
#include <string_view>

#include "analysis/report.h"
#include "lang/language_table.h"

namespace tonvika::cli {

// "Streams", a heading line, then one line per stream; every line ends in
// `eol`. A report without streams gives "Streams" and "(none)".
std::string FormatStreamsTable(const AnalysisReport& report, const LanguageTable& table, DisplayLanguage language,
                               std::string_view eol);

// Terminal columns a UTF-8 text takes: East Asian wide characters take two.
std::size_t DisplayWidth(std::string_view text);

}  // namespace tonvika::cli
