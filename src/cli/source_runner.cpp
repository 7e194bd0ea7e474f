#include "cli/source_runner.h"

#include <algorithm>

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

std::vector<const TitleSet*> ChosenTitleSets(const Disc& disc, const Options& options) {
  std::vector<const TitleSet*> chosen;
  for (const TitleSet& set : disc.TitleSets()) {
    if (options.title_set && set.number != *options.title_set) continue;
    if (options.main_feature && !set.main_feature) continue;
    chosen.push_back(&set);
  }
  return chosen;
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
  const std::vector<const TitleSet*> chosen = ChosenTitleSets(*disc, options_);
  if (chosen.empty()) {
    // Only --title-set can ask for a title set that is not there.
    const std::string reason = "no title set " + std::to_string(options_.title_set.value_or(0)) + " (the disc has " +
                               std::to_string(disc->TitleSets().size()) + ")";
    Fail(source, reason, FileErrorToJson(source, source + ": " + reason));
    return;
  }
  for (const TitleSet* set : chosen) RunTitleSet(*disc, *set);
}

void SourceRunner::RunTitleSet(const Disc& disc, const TitleSet& set) {
  CliHost host(set.paths.vob, options_.read_size_mb, options_.language, table_, options_.sync_trace);
  try {
    const std::unique_ptr<VideoObjectSource> source = disc.OpenTitleSet(set.number);
    AnalysisReport report = AnalyseVideoObject(host, set.paths.vob, *source);
    report.title_set = set.number;
    if (!report.changed) {
      err_ << kProgram << ": " << set.paths.vob << ": no audio track found (empty title set)\n";
      status_ = std::max(status_, kExitNothingFound);
    }
    Write(set.paths.vob, report, host.Slots(),
          options_.json ? TitleSetToJson(disc.Source(), set, report, host.Slots(), table_, options_.language, eol_)
                        : nullptr);
  } catch (const FileError& e) {
    Fail(e.path(), e.reason(), TitleSetErrorToJson(disc.Source(), set, e.what()),
         " (title set " + std::to_string(set.number) + " skipped)");
  }
}

void SourceRunner::Write(const std::string& label, const AnalysisReport& report, const TrackSlots& slots,
                         nlohmann::ordered_json document) {
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
