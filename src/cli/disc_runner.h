#pragma once
// tonvika-cli on a whole disc: one block (or JSON object) per title set.

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "io/disc_source.h"

namespace tonvika::cli {

// Where a disc's results go: the streams and the JSON documents of the run.
struct DiscOutput {
  const Options& options;
  const LanguageTable& table;
  std::ostream& out;
  std::ostream& err;
  const std::string& eol;
  nlohmann::ordered_json& documents;
};

// Analyses the title sets of `source` that the options ask for (all; the
// one of --title-set; the main feature's with --main) and returns the exit
// status: 2 when the disc, the asked title set or any title set could not be
// read (the others are analysed all the same), 1 when one gave nothing.
int RunDisc(const std::string& source, SourceKind kind, const DiscOutput& output);

}  // namespace tonvika::cli
