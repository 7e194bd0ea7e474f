#pragma once
// tonvika-cli --extract: one source's streams written to files, each named
// once it is whole; messages on standard error, the result on standard
// output (text, or one JSON object).

#include <ostream>

#include "cli/cli_options.h"
#include "lang/language_table.h"

namespace tonvika::cli {

// The exit status: 0 every stream written, 2 one not written or written
// with a gap, 128 + the signal when interrupted.
int RunExtraction(const Options& options, const LanguageTable& table, std::ostream& out, std::ostream& err);

}  // namespace tonvika::cli
