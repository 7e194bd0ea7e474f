#include "app/window_arguments.h"

#include <algorithm>

namespace tonvika {

namespace {

bool IsOption(const std::string& arg) { return arg.size() >= 2 && arg[0] == '-'; }

WindowArguments Error(std::string message) {
  WindowArguments result;
  result.action = WindowAction::UsageError;
  result.error = std::move(message);
  return result;
}

}  // namespace

std::string WindowUsageText() {
  return "Usage: tonvika [OPTION]... [SOURCE]\n"
         "Opens the Tonvika window; given SOURCE (a DVD video object file .vob, a raw\n"
         ".ac3/.dts file, or a disc: a DVD folder, a DVD image or a drive), analyses\n"
         "it at once (a disc on its main feature's title set).\n"
         "\n"
         "  -h, --help      show this help and exit\n"
         "  --version       show the version and exit\n"
         "\n"
         "Qt's own options (such as -platform or -style) are taken too.\n";
}

WindowArguments ParseWindowArguments(const std::vector<std::string>& args) {
  const auto end_of_options = std::find(args.begin(), args.end(), "--");
  for (auto it = args.begin(); it != end_of_options; ++it) {
    if (*it == "--help" || *it == "-h") return {WindowAction::Help, std::nullopt, {}};
    if (*it == "--version") return {WindowAction::Version, std::nullopt, {}};
  }
  WindowArguments result;
  for (auto it = args.begin(); it != args.end(); ++it) {
    if (it < end_of_options && IsOption(*it)) return Error("unknown option '" + *it + "'");
    if (it == end_of_options) continue;
    if (result.file) return Error("only one SOURCE can be opened at a time");
    result.file = *it;
  }
  return result;
}

}  // namespace tonvika
