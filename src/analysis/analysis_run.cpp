#include "analysis/analysis_run.h"

#include <algorithm>

#include "analysis/elementary_file_run.h"
#include "analysis/list_publisher.h"
#include "analysis/stream_listing.h"
#include "analysis/stream_mapping.h"
#include "io/ascii.h"
#include "io/read_window.h"
#include "mpeg/program_stream_scan.h"
#include "mpeg/stream_survey.h"

namespace tonvika {

namespace {

constexpr int kMinReadSize = 1;
constexpr int kMaxReadSize = 20;

std::size_t ReadWindowSize(int read_size_mb, std::uint64_t file_size) {
  const auto megabytes = static_cast<std::uint64_t>(std::clamp(read_size_mb, kMinReadSize, kMaxReadSize));
  return static_cast<std::size_t>(std::min(megabytes << 20, file_size));
}

void ReadLanguageCodes(VideoObjectSource& source, AnalysisReport& report) {
  if (const std::optional<InformationFile> ifo = source.ReadInformationFile()) {
    report.ifo_path = ifo->path;
    report.language_codes = AudioLanguageCodes(ifo->bytes);
    report.declared = ReadDeclaredAudio(ifo->bytes, ifo->title_chain);
  }
}

void ScanSource(VideoObjectSource& source, int read_size_mb, RunObserver& observer, AnalysisReport& report) {
  // Taken again: a file replaced or gone since the first probe is seen as
  // it is now (the window is read through this probe's handle).
  const std::uint64_t source_size = source.Size();
  ReadWindow buffer(ReadWindowSize(read_size_mb, source_size));
  // A short read leaves the rest of the window zero; it is scanned as such.
  source.ReadWindow(buffer.bytes());
  report.bytes_read = buffer.size();
  report.whole_source = buffer.size() >= source_size;
  // The survey reads the bytes as they are; the list's scan below may
  // rewrite some of them as its AC-3 analysis reads.
  const StreamSurvey survey = SurveyProgramStream(std::span<const std::uint8_t>(buffer.data(), buffer.size()));
  report.video_first_pts = survey.video_first_pts;

  const LanguageCodes entry_codes = report.language_codes;
  SyncTraces traces;
  ListPublisher publisher(report, LanguageCodesByKind(entry_codes, report.declared), traces,
                          [&observer, &report](int slot) { observer.TrackPublished(report, slot); });
  SubStreamLog log;
  ScanProgramStream(buffer.data(), buffer.size(), traces, publisher, log);

  report.streams = ListStreams(survey, report.declared, entry_codes, report.tracks);
  for (AudioStream& stream : report.streams) stream.delay_ms = DelayMs(stream.first_pts, report.video_first_pts);
  const WindowExtent window{buffer.size(), report.whole_source};
  report.notes = ReconcileStreams(report.declared, log, report.tracks, window, report.streams);
}

}  // namespace

AnalysisReport AnalyseVideoObject(VideoObjectSource& source, const std::string& path, int read_size_mb,
                                  RunObserver& observer) {
  AnalysisReport report;
  report.source = path;
  if (source.Size() == 0) return report;
  observer.RunStarting();
  ReadLanguageCodes(source, report);
  observer.InformationFileRead(report.ifo_path);
  ScanSource(source, read_size_mb, observer, report);
  if (std::optional<std::string> note = source.ReadingNote()) {
    report.notes.push_back({NoteCode::ReadAsStored, std::nullopt, std::move(*note)});
  }
  report.changed = true;
  return report;
}

AnalysisReport AnalyseElementaryFile(const std::string& path, TrackKind kind) {
  AnalysisReport report;
  report.source = path;
  report.tracks[0] = kind == TrackKind::Ac3 ? AnalyseAc3File(path) : AnalyseDtsFile(path);
  report.changed = report.tracks[0].has_value();
  return report;
}

std::string FileExtension(const std::string& path) {
  const auto name_start = path.find_last_of("/\\");
  const auto dot = path.rfind('.');
  if (dot == std::string::npos || (name_start != std::string::npos && dot < name_start)) return {};
  return LowerAscii(path.substr(dot));
}

std::optional<TrackKind> ElementaryKind(const std::string& path) {
  const std::string extension = FileExtension(path);
  if (extension == ".ac3") return TrackKind::Ac3;
  if (extension == ".dts") return TrackKind::Dts;
  return std::nullopt;
}

}  // namespace tonvika
