#include "cli/cli_options.h"

#include <charconv>
#include <filesystem>

namespace tonvika::cli {

namespace {

std::optional<int> ParseWholeNumber(const std::string& text, int min, int max) {
  int value = 0;
  const auto* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || value < min || value > max) return std::nullopt;
  return value;
}

std::optional<int> ParseReadSize(const std::string& text) { return ParseWholeNumber(text, 1, 20); }
std::optional<int> ParseTitleSet(const std::string& text) { return ParseWholeNumber(text, 1, 99); }
std::optional<int> ParseTitle(const std::string& text) { return ParseWholeNumber(text, 1, 99); }

std::optional<DisplayLanguage> ParseLanguage(const std::string& text) {
  if (text == "ja") return DisplayLanguage::Japanese;
  if (text == "en") return DisplayLanguage::English;
  return std::nullopt;
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

ParseResult Error(std::string message) {
  ParseResult result;
  result.status = ParseStatus::UsageError;
  result.error = std::move(message);
  return result;
}

// Splits "--name=value" into name and value; plain "--name" has no value.
std::pair<std::string, std::optional<std::string>> SplitOption(const std::string& arg) {
  const auto eq = arg.find('=');
  if (eq == std::string::npos) return {arg, std::nullopt};
  return {arg.substr(0, eq), arg.substr(eq + 1)};
}

std::string ExtractionUsageError(const Options& options) {
  if (!options.extract) {
    if (options.output) return "--output needs --extract";
    if (options.force) return "--force needs --extract";
    return {};
  }
  if (options.files.size() != 1) return "--extract takes one SOURCE";
  if (options.all_titles) return "--extract takes one title; --all-titles does not go with it";
  const bool all = options.extract == "all";
  const bool to_folder = !options.output || options.output->back() == '/' || IsFolder(*options.output);
  if (all && !to_folder) return "--extract all writes a file per stream: give -o a folder ending in '/'";
  return {};
}

}  // namespace

std::string UsageText() {
  return "Usage: tonvika-cli [OPTION]... SOURCE...\n"
         "Lists the audio tracks of DVD video object files (.vob) and raw .ac3/.dts files,\n"
         "and of whole discs: a DVD folder (VIDEO_TS, or a folder holding one), a DVD\n"
         "image (a file holding a DVD-Video file system, such as movie.iso) or a drive\n"
         "(/dev/sr0), title set by title set, each through its longest title.\n"
         "\n"
         "  --read-size N   megabytes read from the start of a .vob, 1 to 20 (default 5)\n"
         "  --lang ja|en    language names in Japanese (default) or English\n"
         "  --details       also print the AC-3/DTS header details\n"
         "  --sync-trace    add the AC-3 sync trace to AC-3 track lines\n"
         "  --crlf          end lines with CR LF, as the clipboard export does\n"
         "  --json          print one JSON document instead of text\n"
         "  --streams       after each block, a table of every audio stream met: id,\n"
         "                  kind, summary, language, packets, frames, length, CRC\n"
         "                  errors, resyncs, delay to the video, and the list's slot\n"
         "                  or \"not listed\", then each header change (JSON always\n"
         "                  has them)\n"
         "  --code-csv PATH language table (default: code.csv beside the program)\n"
         "  --title-set N   on a disc, analyse title set N only (1 to 99)\n"
         "  --main          on a disc, analyse only the main feature's title set\n"
         "                  (the one holding the longest title)\n"
         "  --all-titles    on a disc, analyse every title of the title sets, one\n"
         "                  block each, instead of each title set's longest title\n"
         "  --title T       on a disc, analyse title T only (1 to 99, numbered\n"
         "                  across the disc as lsdvd numbers them)\n"
         "  --extract ID    write the audio stream ID (0x80, 0x8A, 0xA1, 0xC0 ... as\n"
         "                  --streams shows it), or all of them, of a VOB or of a\n"
         "                  disc's title (by default the main feature) to a file:\n"
         "                  AC-3, DTS and MPEG audio as they are, LPCM as WAV\n"
         "  -o, --output PATH\n"
         "                  the file to write, or the folder (ending in /) to write\n"
         "                  into (default: the current folder, with a name that\n"
         "                  gives the stream, its language and its delay)\n"
         "  --force         replace a file that exists (never the source)\n"
         "  --progress, --no-progress\n"
         "                  show the progress line on standard error or not\n"
         "                  (default: when standard error is a terminal)\n"
         "  --help          show this help and exit\n"
         "  --version       show the version and exit\n"
         "\n"
         "A disc is analysed title set by title set, in ascending order, each like a\n"
         "VOB through one title: the first megabytes of the title as its program chain\n"
         "plays them (its cells, angle 1 of a multi-angle cell, from the title VOBs\n"
         "VTS_nn_1.VOB, VTS_nn_2.VOB ...), its languages from its VTS_nn_0.IFO as that\n"
         "chain pairs them. The first line of each block names the title set's first\n"
         "VOB and the title: its path inside a folder, SOURCE:/VIDEO_TS/VTS_nn_1.VOB for\n"
         "an image or a drive, then \" (title N)\". --title-set, --main, --all-titles and\n"
         "--title are ignored for a FILE.\n"
         "\n"
         "Exit status: 0 all sources analysed, 1 a file gave nothing to show,\n"
         "2 a file, disc or title set could not be opened (a title set that cannot\n"
         "be read is skipped and the others analysed), 64 bad usage. --extract: 0\n"
         "written, 2 not written, or written with a gap (unreadable sectors, scrambled\n"
         "packets), 130 interrupted (nothing is left of an unfinished file).\n";
}

ParseResult ParseOptions(const std::vector<std::string>& args) {
  ParseResult result;
  Options& options = result.options;
  bool only_files = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (only_files || arg.size() < 2 || arg[0] != '-') {
      options.files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      only_files = true;
      continue;
    }
    auto [name, inline_value] = SplitOption(arg);
    if (name == "-o") name = "--output";
    const bool takes_value = name == "--read-size" || name == "--lang" || name == "--code-csv" ||
                             name == "--title-set" || name == "--title" || name == "--extract" || name == "--output";
    if (!takes_value && inline_value) return Error("option '" + name + "' takes no value");
    std::string value;
    if (takes_value) {
      if (inline_value) {
        value = *inline_value;
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        return Error("option '" + name + "' needs a value");
      }
    }
    if (name == "--help" || name == "-h") {
      result.status = ParseStatus::Help;
      return result;
    } else if (name == "--version") {
      result.status = ParseStatus::Version;
      return result;
    } else if (name == "--read-size") {
      const auto size = ParseReadSize(value);
      if (!size) return Error("--read-size must be a whole number from 1 to 20, not '" + value + "'");
      options.read_size_mb = *size;
    } else if (name == "--lang") {
      const auto language = ParseLanguage(value);
      if (!language) return Error("--lang must be 'ja' or 'en', not '" + value + "'");
      options.language = *language;
    } else if (name == "--code-csv") {
      options.code_csv = value;
    } else if (name == "--title-set") {
      const auto number = ParseTitleSet(value);
      if (!number) return Error("--title-set must be a whole number from 1 to 99, not '" + value + "'");
      options.title_set = *number;
    } else if (name == "--main") {
      options.main_feature = true;
    } else if (name == "--all-titles") {
      options.all_titles = true;
    } else if (name == "--title") {
      const auto number = ParseTitle(value);
      if (!number) return Error("--title must be a whole number from 1 to 99, not '" + value + "'");
      options.title = *number;
    } else if (name == "--details") {
      options.details = true;
    } else if (name == "--sync-trace") {
      options.sync_trace = true;
    } else if (name == "--crlf") {
      options.crlf = true;
    } else if (name == "--json") {
      options.json = true;
    } else if (name == "--streams") {
      options.streams = true;
    } else if (name == "--extract") {
      if (!ParseStreamChoice(value)) return Error("--extract takes a stream id such as 0x80, or 'all', not '" + value + "'");
      options.extract = value;
    } else if (name == "--output") {
      if (value.empty()) return Error("--output needs a path");
      options.output = value;
    } else if (name == "--force") {
      options.force = true;
    } else if (name == "--progress" || name == "--no-progress") {
      options.progress = name == "--progress";
    } else {
      return Error("unknown option '" + name + "'");
    }
  }
  if (options.files.empty()) return Error("no SOURCE given");
  if (options.title_set && options.main_feature) return Error("--title-set and --main exclude each other");
  if (options.title && (options.title_set || options.main_feature || options.all_titles)) {
    return Error("--title excludes --title-set, --main and --all-titles");
  }
  if (const std::string error = ExtractionUsageError(options); !error.empty()) return Error(error);
  return result;
}

std::optional<StreamChoice> ParseStreamChoice(const std::string& text) {
  if (text == "all") return StreamChoice{true, 0};
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  int value = 0;
  const char* first = text.data() + (hex ? 2 : 0);
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(first, end, value, hex ? 16 : 10);
  if (ec != std::errc() || ptr != end || first == end || value < 0x80 || value > 0xDF) return std::nullopt;
  return StreamChoice{false, value};
}

}  // namespace tonvika::cli
