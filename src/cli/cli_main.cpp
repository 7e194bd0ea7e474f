#include "cli/cli_main.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <nlohmann/json.hpp>

#include "io/file_error.h"
#include "cli/cli_host.h"
#include "cli/cli_options.h"
#include "cli/disc_runner.h"
#include "cli/json_output.h"
#include "cli/text_output.h"

namespace tonvika::cli {

namespace {

constexpr const char* kProgram = "tonvika-cli";

// The default table may be missing (one warning); a table named on the
// command line must exist.
std::optional<LanguageTable> LoadTable(const Options& options, std::ostream& err) {
  const std::string path = options.code_csv ? *options.code_csv : DefaultLanguageTablePath();
  std::error_code ec;
  if (!options.code_csv && !std::filesystem::exists(path, ec)) {
    err << kProgram << ": warning: " << path << " not found; language codes are shown as they are\n";
    return LanguageTable{};
  }
  try {
    return LoadLanguageTable(path);
  } catch (const FileError& e) {
    err << kProgram << ": " << e.path() << ": " << e.reason() << "\n";
    return std::nullopt;
  }
}

class FileRunner {
 public:
  FileRunner(const Options& options, const LanguageTable& table, std::ostream& out, std::ostream& err)
      : options_(options), table_(table), out_(out), err_(err), eol_(options.crlf ? "\r\n" : "\n") {}

  void Run(const std::string& path) {
    if (const SourceKind kind = RecogniseSource(path); kind != SourceKind::File) {
      const DiscOutput output{options_, table_, out_, err_, eol_, documents_};
      status_ = std::max(status_, RunDisc(path, kind, output));
      return;
    }
    CliHost host(path, options_.read_size_mb, options_.language, table_, options_.sync_trace);
    try {
      const RunOutcome outcome = RunAnalysis(host);
      if (!outcome.changed) {
        err_ << kProgram << ": " << path << ": no audio track found (empty file or no frame header)\n";
        status_ = std::max(status_, kExitNothingFound);
      }
      if (options_.json) {
        documents_.push_back(FileToJson(path, outcome, host.Slots(), table_, options_.language, eol_));
      } else {
        if (outcome.changed) out_ << FormatText(path, host.Slots(), options_.details, eol_);
        // JSON carries the notes; text mode says them beside the output.
        for (const RunNote& note : outcome.notes) err_ << kProgram << ": " << path << ": " << note.text << "\n";
      }
    } catch (const FileError& e) {
      err_ << kProgram << ": " << e.path() << ": " << e.reason() << "\n";
      status_ = kExitFileError;
      if (options_.json) documents_.push_back(FileErrorToJson(path, e.what()));
    }
  }

  int Finish() {
    // JSON text is UTF-8; a path that is not (any bytes are allowed in a
    // file name) has its invalid bytes shown as U+FFFD instead of failing.
    // The documents keep the order of the FILE arguments.
    if (options_.json) {
      out_ << documents_.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
    }
    return status_;
  }

 private:
  const Options& options_;
  const LanguageTable& table_;
  std::ostream& out_;
  std::ostream& err_;
  std::string eol_;
  nlohmann::ordered_json documents_ = nlohmann::ordered_json::array();
  int status_ = kExitOk;
};

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const ParseResult parsed = ParseOptions(args);
  switch (parsed.status) {
    case ParseStatus::Help:
      out << UsageText();
      return kExitOk;
    case ParseStatus::Version:
      out << kProgram << " 1.05\n";
      return kExitOk;
    case ParseStatus::UsageError:
      err << kProgram << ": " << parsed.error << "\n"
          << "Try '" << kProgram << " --help' for more information.\n";
      return kExitUsage;
    case ParseStatus::Run:
      break;
  }
  const auto table = LoadTable(parsed.options, err);
  if (!table) return kExitFileError;
  FileRunner runner(parsed.options, *table, out, err);
  for (const auto& path : parsed.options.files) runner.Run(path);
  return runner.Finish();
}

}  // namespace tonvika::cli
