#include "cli/source_runner.h"

#include <algorithm>

#include "analysis/short_read.h"
#include "cli/cli_host.h"
#include "cli/cli_main.h"
#include "cli/disc_json.h"
#include "cli/json_output.h"
#include "cli/streams_table.h"
#include "cli/text_output.h"
#include "io/file_error.h"

namespace tonvika::cli {

namespace {

constexpr const char* kProgram = "tonvika-cli";

// JSON and --streams walk every frame; plain text does not: the walk (CRCs
// over every frame) costs more than the half millisecond over reading the
// window that a plain run may take (docs/performance.md).
constexpr bool kPlainTextWalks = false;

bool WalksFrames(const Options& options) { return options.json || options.streams || kPlainTextWalks; }

// One block of a disc: a title set through one of its titles, or as its
// VOBs store it when no title plays from it.
struct DiscBlock {
  const TitleSet* set;
  std::optional<int> title;
};

std::vector<DiscBlock> TitlesOf(const Disc& disc, const TitleSet& set, bool all_titles) {
  std::vector<DiscBlock> blocks;
  if (all_titles) {
    for (const DiscTitle& title : disc.Titles()) {
      if (title.title_set == set.number) blocks.push_back({&set, title.number});
    }
  }
  if (blocks.empty()) blocks.push_back({&set, set.longest_title});
  return blocks;
}

std::vector<DiscBlock> ChosenBlocks(const Disc& disc, const Options& options) {
  if (options.title) {
    const DiscTitle* title = disc.FindTitle(*options.title);
    if (title == nullptr) return {};
    return {{disc.Find(title->title_set), title->number}};
  }
  std::vector<DiscBlock> chosen;
  for (const TitleSet& set : disc.TitleSets()) {
    if (options.title_set && set.number != *options.title_set) continue;
    if (options.main_feature && !set.main_feature) continue;
    const std::vector<DiscBlock> blocks = TitlesOf(disc, set, options.all_titles);
    chosen.insert(chosen.end(), blocks.begin(), blocks.end());
  }
  return chosen;
}

// Only --title-set and --title can ask for what the disc does not have.
std::string MissingText(const Disc& disc, const Options& options) {
  if (options.title) {
    return "no title " + std::to_string(*options.title) + " (the disc has " + std::to_string(disc.Titles().size()) +
           ")";
  }
  return "no title set " + std::to_string(options.title_set.value_or(0)) + " (the disc has " +
         std::to_string(disc.TitleSets().size()) + ")";
}

}  // namespace

SourceRunner::SourceRunner(const Options& options, const LanguageTable& table, std::ostream& out, std::ostream& err)
    : options_(options), table_(table), out_(out), err_(err), eol_(options.crlf ? "\r\n" : "\n") {}

void SourceRunner::Run(const std::string& source) {
  if (const SourceKind kind = RecogniseSource(source); kind != SourceKind::File) {
    RunDisc(source, kind);
  } else {
    RunFile(source);
  }
}

void SourceRunner::RunFile(const std::string& path) {
  CliHost host(path, options_.read_size_mb, options_.language, table_, options_.sync_trace);
  host.SetWalkFrames(WalksFrames(options_));
  try {
    const AnalysisReport report = RunAnalysis(host);
    if (!report.changed) {
      err_ << kProgram << ": " << path << ": no audio track found (empty file or no frame header)\n";
      status_ = std::max(status_, kExitNothingFound);
    }
    Write(path, report, host.Slots(),
          options_.json ? FileToJson(path, report, host.Slots(), table_, options_.language, eol_) : nullptr);
  } catch (const FileError& e) {
    Fail(e.path(), e.reason(), FileErrorToJson(path, e.what()));
  }
}

void SourceRunner::RunDisc(const std::string& source, SourceKind kind) {
  std::optional<Disc> disc;
  try {
    disc.emplace(source, kind);
  } catch (const FileError& e) {
    Fail(e.path(), e.reason(), FileErrorToJson(e.path(), e.what()));
    return;
  }
  if (options_.main_feature && !disc->MainFeatureByLength()) {
    err_ << kProgram << ": " << source << ": no title of the disc has a known length; --main takes title set "
         << disc->MainFeature() << "\n";
  }
  const std::vector<DiscBlock> chosen = ChosenBlocks(*disc, options_);
  if (chosen.empty()) {
    const std::string reason = MissingText(*disc, options_);
    Fail(source, reason, FileErrorToJson(source, source + ": " + reason));
    return;
  }
  for (const DiscBlock& block : chosen) RunTitleSet(*disc, *block.set, block.title);
}

void SourceRunner::RunTitleSet(const Disc& disc, const TitleSet& set, std::optional<int> title) {
  CliHost host(set.paths.vob, options_.read_size_mb, options_.language, table_, options_.sync_trace);
  host.SetWalkFrames(WalksFrames(options_));
  try {
    const std::unique_ptr<VideoObjectSource> source = title ? disc.OpenTitle(*title) : disc.OpenTitleSet(set.number);
    AnalysisReport report = AnalyseVideoObject(host, TitleLabel(set, title), *source);
    report.title_set = set.number;
    report.title = title;
    if (!report.changed) {
      err_ << kProgram << ": " << set.paths.vob << ": no audio track found (empty title set)\n";
      status_ = std::max(status_, kExitNothingFound);
    }
    Write(set.paths.vob, report, host.Slots(),
          options_.json ? TitleSetToJson(disc, set, report, host.Slots(), table_, options_.language, eol_) : nullptr);
  } catch (const FileError& e) {
    Fail(e.path(), e.reason(), TitleSetErrorToJson(disc, set, title, e.what()),
         " (title set " + std::to_string(set.number) + " skipped)");
  }
}

void SourceRunner::Write(const std::string& label, const AnalysisReport& report, const TrackSlots& slots,
                         nlohmann::ordered_json document) {
  // A read that came back short: what was read is shown, but the source is damaged.
  if (ReadShort(report.notes)) status_ = kExitFileError;
  if (options_.json) {
    // JSON carries the notes and the streams.
    documents_.push_back(std::move(document));
    return;
  }
  if (report.changed) {
    out_ << FormatText(label, slots, options_.details, eol_);
    if (options_.streams) out_ << FormatStreamsTable(report, table_, options_.language, eol_);
  }
  for (const RunNote& note : report.notes) err_ << kProgram << ": " << label << ": " << note.text << "\n";
}

void SourceRunner::Fail(const std::string& path, const std::string& reason, nlohmann::ordered_json document,
                        const std::string& suffix) {
  err_ << kProgram << ": " << path << ": " << reason << suffix << "\n";
  status_ = kExitFileError;
  if (options_.json) documents_.push_back(std::move(document));
}

int SourceRunner::Finish() {
  // JSON text is UTF-8; a path that is not (any bytes are allowed in a
  // file name) has its invalid bytes shown as U+FFFD instead of failing.
  // The documents keep the order of the SOURCE arguments.
  if (options_.json) {
    out_ << documents_.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
  }
  return status_;
}

}  // namespace tonvika::cli
