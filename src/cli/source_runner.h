#pragma once
// tonvika-cli's one runner: each SOURCE (a file, or each chosen title set of
// a disc) is analysed into a report, and every report is written the same
// way: its block of text (or JSON object), the stream table when asked for,
// and its notes on standard error.

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "analysis/disc.h"
#include "cli/cli_options.h"
#include "view/window_run.h"

namespace tonvika::cli {

class SourceRunner {
 public:
  SourceRunner(const Options& options, const LanguageTable& table, std::ostream& out, std::ostream& err);

  void Run(const std::string& source);
  // Writes the JSON document (with --json) and gives the exit status: 2 when
  // a source, a title set or the asked title set could not be read, or was
  // read short, 1 when one gave nothing, else 0.
  int Finish();

 private:
  void RunFile(const std::string& path);
  void RunDisc(const std::string& source, SourceKind kind);
  // A title set through `title`, or as its VOBs store it without one.
  void RunTitleSet(const Disc& disc, const TitleSet& set, std::optional<int> title);
  // Writes one analysed block; `document` is its JSON object.
  void Write(const std::string& label, const AnalysisReport& report, const TrackSlots& slots,
             nlohmann::ordered_json document);
  void Fail(const std::string& path, const std::string& reason, nlohmann::ordered_json document,
            const std::string& suffix = {});

  const Options& options_;
  const LanguageTable& table_;
  std::ostream& out_;
  std::ostream& err_;
  std::string eol_;
  nlohmann::ordered_json documents_ = nlohmann::ordered_json::array();
  int status_ = 0;
};

}  // namespace tonvika::cli
