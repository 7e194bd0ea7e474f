#pragma once
// tonvika-cli from arguments to exit status; streams are parameters so tests
// can run it in-process.

#include <ostream>
#include <string>
#include <vector>

namespace tonvika::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitNothingFound = 1;
inline constexpr int kExitFileError = 2;
inline constexpr int kExitUsage = 64;

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tonvika::cli
