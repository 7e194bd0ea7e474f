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
  bool streams = false;  // text mode: the stream table after each block
  std::optional<std::string> code_csv;
  // Discs only: the one title set to analyse, or the main feature's alone;
  // every title of them instead of each one's longest; or one title alone.
  std::optional<int> title_set;
  bool main_feature = false;
  bool all_titles = false;
  std::optional<int> title;
  // Extraction: the stream id ("0x80") or "all"; where to write (a file,
  // or a folder when it ends in '/' or is one); replace an existing file;
  // the progress line forced on or off (default: when stderr is a terminal).
  std::optional<std::string> extract;
  std::optional<std::string> output;
  bool force = false;
  std::optional<bool> progress;
  std::vector<std::string> files;  // the SOURCE arguments: files and discs
};

enum class ParseStatus { Run, Help, Version, UsageError };

struct ParseResult {
  ParseStatus status = ParseStatus::Run;
  Options options;
  std::string error;  // for UsageError
};

ParseResult ParseOptions(const std::vector<std::string>& args);

// --extract's ID: a stream id from 0x80 to 0xDF (hexadecimal with 0x, or
// decimal), or "all"; nothing when it is neither.
struct StreamChoice {
  bool all = false;
  int id = 0;  // when not all
};
std::optional<StreamChoice> ParseStreamChoice(const std::string& text);
std::string UsageText();

}  // namespace tonvika::cli
