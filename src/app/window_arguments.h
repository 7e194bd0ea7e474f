#pragma once
// The command line of `tonvika`: --help, --version and one FILE, whose bytes
// are kept as they are (QCoreApplication::arguments() would decode them).

#include <optional>
#include <string>
#include <vector>

namespace tonvika {

enum class WindowAction { Run, Help, Version, UsageError };

struct WindowArguments {
  WindowAction action = WindowAction::Run;
  std::optional<std::string> file;
  std::string error;  // for UsageError
};

// --help and --version win wherever they stand before "--", so that they can
// be answered before the application (and a display) is set up.
WindowArguments ParseWindowArguments(const std::vector<std::string>& args);
std::string WindowUsageText();

inline constexpr int kWindowExitUsage = 64;

}  // namespace tonvika
