#include "cli/extract_command.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>

#include "analysis/disc.h"
#include "analysis/vob_file_source.h"
#include "cli/cli_host.h"
#include "cli/cli_main.h"
#include "cli/interrupt.h"
#include "cli/progress_line.h"
#include "extract/extraction_job.h"
#include "extract/source_files.h"
#include "io/file_error.h"

namespace tonvika::cli {

namespace {

constexpr const char* kProgram = "tonvika-cli";
// A stream joined from pieces can jump at every joint; the first few say it.
constexpr std::size_t kJumpsShown = 5;

// What is extracted from: the analysed source, what it is read through,
// and the files of it that are never written over.
struct Prepared {
  AnalysisReport report;
  std::unique_ptr<Disc> disc;  // outlives the source and the reader
  std::unique_ptr<VideoObjectSource> source;
  std::unique_ptr<StreamReader> reader;
  std::string base;
  std::vector<std::string> source_files;
};

class Failure {
 public:
  explicit Failure(std::string message) : message_(std::move(message)) {}
  const std::string& message() const { return message_; }

 private:
  std::string message_;
};

Prepared PrepareFile(const Options& options, const LanguageTable& table, const std::string& path) {
  if (ElementaryKind(path)) throw Failure(path + ": is an elementary stream already; there is nothing to take out");
  Prepared prepared;
  CliHost host(path, options.read_size_mb, options.language, table, false);
  host.SetWalkFrames(false);
  auto source = std::make_unique<VobFileSource>(path);
  prepared.report = AnalyseVideoObject(host, path, *source);
  prepared.reader = source->OpenStream();
  prepared.source = std::move(source);
  prepared.base = FileBase(path);
  prepared.source_files = SourceFiles(path, SourceKind::File);
  return prepared;
}

// --title, else --title-set's longest title, else the main feature's.
std::pair<const TitleSet*, std::optional<int>> ChooseTitle(const Disc& disc, const Options& options) {
  if (options.title) {
    const DiscTitle* title = disc.FindTitle(*options.title);
    if (title == nullptr) {
      throw Failure(disc.Source() + ": no title " + std::to_string(*options.title) + " (the disc has " +
                    std::to_string(disc.Titles().size()) + ")");
    }
    return {disc.Find(title->title_set), title->number};
  }
  const int number = options.title_set.value_or(disc.MainFeature());
  const TitleSet* set = disc.Find(number);
  if (set == nullptr) {
    throw Failure(disc.Source() + ": no title set " + std::to_string(number) + " (the disc has " +
                  std::to_string(disc.TitleSets().size()) + ")");
  }
  return {set, set->longest_title};
}

Prepared PrepareDisc(const Options& options, const LanguageTable& table, const std::string& path, SourceKind kind) {
  Prepared prepared;
  prepared.disc = std::make_unique<Disc>(path, kind);
  const Disc& disc = *prepared.disc;
  const auto [set, title] = ChooseTitle(disc, options);
  if (set == nullptr) throw Failure(path + ": the title's title set is not on the disc");
  CliHost host(set->paths.vob, options.read_size_mb, options.language, table, false);
  host.SetWalkFrames(false);
  prepared.source = title ? disc.OpenTitle(*title) : disc.OpenTitleSet(set->number);
  prepared.report = AnalyseVideoObject(host, TitleLabel(*set, title), *prepared.source);
  prepared.report.title_set = set->number;
  prepared.report.title = title;
  prepared.reader = prepared.source->OpenStream();
  prepared.base = DiscBase(path, kind, set->number, title);
  prepared.source_files = SourceFiles(path, kind);
  return prepared;
}

std::vector<PlannedStream> ChooseStreams(const Prepared& prepared, const std::string& source,
                                         const StreamChoice& choice) {
  std::vector<PlannedStream> streams = ExtractableStreams(prepared.report, prepared.base);
  if (streams.empty()) throw Failure(source + ": no audio stream that can be taken out");
  if (choice.all) return streams;
  for (const PlannedStream& stream : streams) {
    if (stream.name.key == choice.id) return {stream};
  }
  throw Failure(source + ": no stream " + StreamIdText(choice.id) + " (it holds " + StreamIdsText(streams) + ")");
}

ExtractionJob MakeJob(const Options& options, std::vector<PlannedStream> streams,
                      std::vector<std::string> source_files) {
  ExtractionJob job;
  job.streams = std::move(streams);
  job.replace = options.force;
  job.protected_files = std::move(source_files);
  if (options.output) {
    std::error_code ec;
    if (options.output->back() == '/' || std::filesystem::is_directory(*options.output, ec)) {
      job.folder = *options.output;
    } else {
      job.paths = {*options.output};
    }
  }
  return job;
}

class CliObserver final : public ExtractionObserver {
 public:
  explicit CliObserver(ProgressLine& line) : line_(line) {}
  void Progress(std::uint64_t done, std::uint64_t total) override { line_.Update(done, total); }
  bool Cancelled() override { return Interrupted(); }

 private:
  ProgressLine& line_;
};

// "0:41:07"
std::string ClockText(double seconds) {
  const auto whole = static_cast<long long>(std::floor(std::max(seconds, 0.0)));
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
  return text;
}

std::string Seconds(double seconds, bool sign) {
  char text[32];
  std::snprintf(text, sizeof text, sign ? "%+.3f s" : "%.1f s", seconds);
  return text;
}

std::string UnreadableText(const UnreadableRange& range, const std::optional<std::string>& cause) {
  std::string text = std::to_string(range.bytes / 2048) + " sectors unreadable at " + ClockText(range.at_s);
  if (range.at_end) {
    text += ", to the end of the title; the output ends there";
  } else {
    text += "; the output has a gap";
    text += range.gap_s ? " of " + Seconds(*range.gap_s, false) : " there";
  }
  if (cause) text += " (" + *cause + ")";
  return text;
}

// The messages a written file gives; whether one makes the status 2.
bool Warn(const WrittenFile& file, const std::optional<std::string>& cause, std::ostream& err) {
  bool damaged = false;
  const std::string who = std::string(kProgram) + ": " + file.path + ": ";
  for (const UnreadableRange& range : file.stream.unreadable) {
    err << who << UnreadableText(range, cause) << "\n";
    damaged = true;
  }
  if (file.stream.missing_packets > 0) {
    err << who << file.stream.missing_packets << " packets of " << StreamIdText(file.stream.key)
        << " are scrambled or unreadable and left out; the output has gaps there\n";
    damaged = true;
  }
  const std::size_t shown = std::min(file.stream.jumps.size(), kJumpsShown);
  for (std::size_t i = 0; i < shown; ++i) {
    const TimeJump& jump = file.stream.jumps[i];
    err << who << "warning: a gap in the PTS at " << ClockText(jump.at_s) << ": the stream goes on "
        << Seconds(jump.by_s, true) << " off the time its frames last; a player of this file loses sync there\n";
  }
  if (file.stream.jumps.size() > shown) {
    err << who << "warning: " << file.stream.jumps.size() - shown << " more gaps in the PTS (--json lists them all)\n";
  }
  return damaged;
}

nlohmann::ordered_json FileJson(const WrittenFile& file, const PlannedStream& planned,
                                const std::optional<std::string>& cause) {
  nlohmann::ordered_json json;
  json["id"] = StreamIdText(file.stream.key);
  json["kind"] = StreamKindName(file.stream.kind);
  json["language"] = planned.name.language;
  json["path"] = file.path;
  json["written"] = !file.error;
  if (file.error) json["error"] = *file.error;
  json["bytes"] = file.bytes;
  json["frames"] = file.stream.counts.frames;
  json["duration_s"] = file.stream.counts.duration_s;
  json["delay_ms"] = file.stream.delay_ms ? nlohmann::ordered_json(*file.stream.delay_ms) : nullptr;
  json["missing_packets"] = file.stream.missing_packets;
  json["resyncs"] = file.stream.counts.resyncs;
  nlohmann::ordered_json unreadable = nlohmann::ordered_json::array();
  for (const UnreadableRange& range : file.stream.unreadable) {
    unreadable.push_back({{"sectors", range.bytes / 2048},
                          {"at_s", range.at_s},
                          {"gap_s", range.gap_s ? nlohmann::ordered_json(*range.gap_s) : nullptr},
                          {"at_end", range.at_end},
                          {"message", UnreadableText(range, cause)}});
  }
  json["unreadable"] = unreadable;
  nlohmann::ordered_json jumps = nlohmann::ordered_json::array();
  for (const TimeJump& jump : file.stream.jumps) jumps.push_back({{"at_s", jump.at_s}, {"by_s", jump.by_s}});
  json["pts_jumps"] = jumps;
  return json;
}

int Report(const Options& options, const std::string& source, const Prepared& prepared, const ExtractionJob& job,
           const ExtractionOutcome& outcome, std::ostream& out, std::ostream& err) {
  int status = kExitOk;
  nlohmann::ordered_json files = nlohmann::ordered_json::array();
  for (std::size_t i = 0; i < outcome.files.size(); ++i) {
    const WrittenFile& file = outcome.files[i];
    if (file.error) {
      err << kProgram << ": " << file.path << ": " << *file.error << "\n";
      status = kExitFileError;
    } else {
      if (Warn(file, outcome.skip_cause, err)) status = kExitFileError;
      if (!options.json) out << file.path << "\n";
    }
    files.push_back(FileJson(file, job.streams[i], outcome.skip_cause));
  }
  if (options.json) {
    nlohmann::ordered_json document;
    document["source"] = source;
    document["title_set"] = prepared.report.title_set ? nlohmann::ordered_json(*prepared.report.title_set) : nullptr;
    document["title"] = prepared.report.title ? nlohmann::ordered_json(*prepared.report.title) : nullptr;
    document["files"] = files;
    out << document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
  }
  return status;
}

// What could not be begun: a message, and with --json the document says it too.
int Refuse(const Options& options, const std::string& message, std::ostream& out, std::ostream& err) {
  err << kProgram << ": " << message << "\n";
  if (options.json) {
    nlohmann::ordered_json document;
    document["source"] = options.files.front();
    document["title_set"] = nullptr;
    document["title"] = nullptr;
    document["files"] = nlohmann::ordered_json::array();
    document["error"] = message;
    out << document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
  }
  return kExitFileError;
}

}  // namespace

int RunExtraction(const Options& options, const LanguageTable& table, std::ostream& out, std::ostream& err) {
  const std::string& source = options.files.front();
  const StreamChoice choice = ParseStreamChoice(*options.extract).value_or(StreamChoice{true, 0});
  InterruptGuard guard;
  try {
    const SourceKind kind = RecogniseSource(source);
    Prepared prepared = kind == SourceKind::File ? PrepareFile(options, table, source)
                                                 : PrepareDisc(options, table, source, kind);
    if (!prepared.reader) throw Failure(source + ": cannot be read whole");
    const ExtractionJob job = MakeJob(options, ChooseStreams(prepared, source, choice), prepared.source_files);
    ProgressLine line(err, options.progress.value_or(StandardErrorIsTerminal()));
    CliObserver observer(line);
    ExtractionOutcome outcome;
    try {
      outcome = RunExtractionJob(job, *prepared.reader, observer);
    } catch (...) {
      line.Finish();
      throw;
    }
    line.Finish();
    return Report(options, source, prepared, job, outcome, out, err);
  } catch (const Failure& failure) {
    return Refuse(options, failure.message(), out, err);
  } catch (const FileError& e) {
    return Refuse(options, e.path() + ": " + e.reason(), out, err);
  } catch (const ExtractionCancelled&) {
    err << kProgram << ": interrupted; nothing was written\n";
    return 128 + InterruptSignal();
  }
}

}  // namespace tonvika::cli
