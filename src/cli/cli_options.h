#pragma once
// Command-line options of tonvika-cli.

#include <optional>
#include <string>
#include <vector>

#include "lang/language_table.h"

namespace tonvika::cli {

struct Options {
  int read_size_mb = 5;
  DisplayLanguage language = DisplayLanguage::Japanese;
  bool details = false;
  bool sync_trace = false;
  bool crlf = false;
  bool json = false;
  std::optional<std::string> code_csv;
  std::vector<std::string> files;
};

enum class ParseStatus { Run, Help, Version, UsageError };

struct ParseResult {
  ParseStatus status = ParseStatus::Run;
  Options options;
  std::string error;  // for UsageError
};

ParseResult ParseOptions(const std::vector<std::string>& args);
std::string UsageText();

}  // namespace tonvika::cli
