#include "cli/disc_runner.h"

#include <algorithm>

#include "analysis/disc.h"
#include "cli/cli_host.h"
#include "cli/cli_main.h"
#include "cli/disc_json.h"
#include "cli/json_output.h"
#include "cli/text_output.h"
#include "io/file_error.h"

namespace tonvika::cli {

namespace {

constexpr const char* kProgram = "tonvika-cli";

std::vector<const TitleSet*> ChosenTitleSets(const Disc& disc, const Options& options) {
  std::vector<const TitleSet*> chosen;
  for (const TitleSet& set : disc.TitleSets()) {
    if (options.title_set && set.number != *options.title_set) continue;
    if (options.main_feature && !set.main_feature) continue;
    chosen.push_back(&set);
  }
  return chosen;
}

class DiscRunner {
 public:
  DiscRunner(const Disc& disc, const DiscOutput& output) : disc_(disc), output_(output) {}

  int Run(const TitleSet& set) {
    const Options& options = output_.options;
    CliHost host(set.paths.vob, options.read_size_mb, options.language, output_.table, options.sync_trace);
    try {
      const RunOutcome outcome = disc_.Analyse(host, set.number);
      int status = kExitOk;
      if (!outcome.changed) {
        output_.err << kProgram << ": " << set.paths.vob << ": no audio track found (empty title set)\n";
        status = kExitNothingFound;
      }
      if (options.json) {
        output_.documents.push_back(TitleSetToJson(disc_.Source(), set, outcome, host.Slots(), output_.table,
                                                   options.language, output_.eol));
      } else if (outcome.changed) {
        output_.out << FormatText(set.paths.vob, host.Slots(), options.details, output_.eol);
      }
      return status;
    } catch (const FileError& e) {
      output_.err << kProgram << ": " << e.path() << ": " << e.reason() << " (title set " << set.number
                  << " skipped)\n";
      if (options.json) output_.documents.push_back(TitleSetErrorToJson(disc_.Source(), set, e.what()));
      return kExitFileError;
    }
  }

 private:
  const Disc& disc_;
  const DiscOutput& output_;
};

int ReportError(const std::string& path, const std::string& reason, const DiscOutput& output) {
  output.err << kProgram << ": " << path << ": " << reason << "\n";
  if (output.options.json) output.documents.push_back(FileErrorToJson(path, path + ": " + reason));
  return kExitFileError;
}

}  // namespace

int RunDisc(const std::string& source, SourceKind kind, const DiscOutput& output) {
  std::optional<Disc> disc;
  try {
    disc.emplace(source, kind);
  } catch (const FileError& e) {
    return ReportError(e.path(), e.reason(), output);
  }
  const std::vector<const TitleSet*> chosen = ChosenTitleSets(*disc, output.options);
  if (chosen.empty()) {
    // Only --title-set can ask for a title set that is not there.
    return ReportError(source,
                       "no title set " + std::to_string(output.options.title_set.value_or(0)) + " (the disc has " +
                           std::to_string(disc->TitleSets().size()) + ")",
                       output);
  }
  DiscRunner runner(*disc, output);
  int status = kExitOk;
  for (const TitleSet* set : chosen) status = std::max(status, runner.Run(*set));
  return status;
}

}  // namespace tonvika::cli
