#include "cli/cli_main.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <nlohmann/json.hpp>

#include "io/file_error.h"
#include "cli/cli_options.h"
#include "cli/extract_command.h"
#include "cli/source_runner.h"

namespace tonvika::cli {

namespace {

constexpr const char* kProgram = "tonvika-cli";

// The default table may be missing (one warning); a table named on the
// command line must exist. A table that names no language is a warning.
std::optional<LanguageTable> LoadTable(const Options& options, std::ostream& err) {
  const std::string path = options.code_csv ? *options.code_csv : DefaultLanguageTablePath();
  std::error_code ec;
  if (!options.code_csv && !std::filesystem::exists(path, ec)) {
    err << kProgram << ": warning: " << path << " not found; language codes are shown as they are\n";
    return LanguageTable{};
  }
  try {
    LanguageTable table = LoadLanguageTable(path);
    if (!GivesLanguageNames(table)) {
      err << kProgram << ": warning: " << path
          << " names no language (no line of a code and its name); language codes are shown as they are\n";
    }
    return table;
  } catch (const FileError& e) {
    err << kProgram << ": " << e.path() << ": " << e.reason() << "\n";
    return std::nullopt;
  }
}

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
  if (parsed.options.extract) return RunExtraction(parsed.options, *table, out, err);
  SourceRunner runner(parsed.options, *table, out, err);
  for (const auto& path : parsed.options.files) runner.Run(path);
  return runner.Finish();
}

}  // namespace tonvika::cli
