#include "extract/extraction_job.h"

#include <sys/stat.h>

#include <filesystem>

#include "io/file_error.h"
#include "extract/lpcm_sink.h"
#include "io/output_file.h"

namespace tonvika {

namespace {

class FileOutput final : public ByteOutput {
 public:
  explicit FileOutput(OutputFile& file) : file_(file) {}
  void Write(std::span<const std::uint8_t> bytes) override { file_.Write(bytes); }
  void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override { file_.WriteAt(offset, bytes); }

 private:
  OutputFile& file_;
};

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {};
  struct stat sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// Even --force never writes over the source.
void RefuseSourceFile(const std::string& path, const ExtractionJob& job) {
  for (const std::string& source : job.protected_files) {
    if (SameFile(path, source)) throw FileError(path, "is a file of the source, which is never written over");
  }
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder == ".") return name;
  return (std::filesystem::path(folder) / name).string();
}

std::optional<std::string> Unwritten(const ExtractedStream& stream) {
  if (!stream.met) return "no packet of it in the source";
  if (!stream.writable) return "its LPCM word length or sampling frequency is reserved";
  if (stream.counts.frames == 0) return "no whole frame of it in the source";
  return std::nullopt;
}

}  // namespace

std::vector<PlannedStream> ExtractableStreams(const AnalysisReport& report, const std::string& base) {
  std::vector<PlannedStream> planned;
  for (const AudioStream& stream : report.streams) {
    if (!stream.stream_id || stream.kind == StreamKind::MpegAudioExtension) continue;
    if (const auto* lpcm = stream.header ? std::get_if<LpcmAttributes>(&*stream.header) : nullptr) {
      if (!CanWriteLpcm(*lpcm)) continue;
    }
    PlannedStream entry;
    entry.name.base = base;
    entry.name.key = *stream.stream_id;
    entry.name.kind = stream.kind;
    entry.name.language = stream.language_code;
    entry.name.header = stream.header;
    entry.name.delay_ms = stream.delay_ms;
    planned.push_back(std::move(entry));
  }
  return planned;
}

std::string StreamIdsText(const std::vector<PlannedStream>& streams) {
  std::string text;
  for (const PlannedStream& stream : streams) {
    if (!text.empty()) text += ", ";
    text += StreamIdText(stream.name.key);
  }
  return text;
}

std::string PlannedPath(const ExtractionJob& job, std::size_t index) {
  if (index < job.paths.size() && !job.paths[index].empty()) return job.paths[index];
  return JoinPath(job.folder, DefaultFileName(job.streams[index].name));
}

ExtractionOutcome RunExtractionJob(const ExtractionJob& job, StreamReader& reader, ExtractionObserver& observer) {
  std::vector<std::unique_ptr<OutputFile>> files;
  std::vector<std::unique_ptr<FileOutput>> outputs;
  std::vector<ExtractTarget> targets;
  for (std::size_t i = 0; i < job.streams.size(); ++i) {
    const std::string path = PlannedPath(job, i);
    RefuseSourceFile(path, job);
    files.push_back(std::make_unique<OutputFile>(path, job.replace));
    outputs.push_back(std::make_unique<FileOutput>(*files.back()));
    targets.push_back({job.streams[i].name.key, job.streams[i].name.kind, outputs.back().get()});
  }
  ExtractionRun run = ExtractStreams(reader, targets, observer);
  ExtractionOutcome outcome;
  outcome.bytes_skipped = run.bytes_skipped;
  outcome.skip_cause = run.skip_cause;
  for (std::size_t i = 0; i < job.streams.size(); ++i) {
    WrittenFile written;
    written.stream = std::move(run.streams[i]);
    written.path = files[i]->Path();
    written.error = Unwritten(written.stream);
    if (!written.error) {
      // The name gives the delay measured on what was written.
      if (i >= job.paths.size() || job.paths[i].empty()) {
        NameParts name = job.streams[i].name;
        name.delay_ms = written.stream.delay_ms;
        written.path = JoinPath(job.folder, DefaultFileName(name));
      }
      try {
        RefuseSourceFile(written.path, job);
        written.bytes = files[i]->Size();
        files[i]->Commit(written.path);
      } catch (const FileError& e) {
        written.error = e.reason();
      }
    }
    outcome.files.push_back(std::move(written));
  }
  return outcome;
}

}  // namespace tonvika
