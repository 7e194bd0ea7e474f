#include "analysis/analysis_run.h"

#include <algorithm>

#include "analysis/elementary_file_run.h"
#include "analysis/frame_notes.h"
#include "analysis/frame_walk.h"
#include "analysis/list_publisher.h"
#include "analysis/short_read.h"
#include "analysis/stream_listing.h"
#include "analysis/stream_mapping.h"
#include "io/ascii.h"
#include "io/file_error.h"
#include "io/read_only_file.h"
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

void ScanSource(VideoObjectSource& source, const RunSettings& settings, RunObserver& observer,
                AnalysisReport& report) {
  // Taken again: a file replaced or gone since the first probe is seen as
  // it is now (the window is read through this probe's handle).
  const std::uint64_t source_size = source.Size();
  ReadWindow buffer(ReadWindowSize(settings.read_size_mb, source_size));
  // Only the bytes that came back are the source's: a short read is said,
  // and nothing read at all is an error like a missing file.
  const std::size_t read = source.ReadWindow(buffer.bytes());
  std::optional<RunNote> short_read;
  if (const std::optional<std::string> cause = source.ShortReadCause()) {
    if (read == 0) throw FileError(report.source, NothingReadReason(*cause, buffer.size()));
    short_read = ShortReadNote(*cause, read, buffer.size());
  }
  report.bytes_read = read;
  report.whole_source = !short_read && read >= source_size;
  // The survey reads the bytes as they are; the list's scan below may
  // rewrite some of them as its AC-3 analysis reads.
  const std::span<const std::uint8_t> as_read(buffer.data(), read);
  const StreamSurvey survey = SurveyProgramStream(as_read);
  const std::vector<StreamFrames> frames =
      settings.walk_frames ? WalkStreams(survey, as_read) : std::vector<StreamFrames>{};
  report.video_first_pts = survey.video_first_pts;

  const LanguageCodes entry_codes = report.language_codes;
  SyncTraces traces;
  ListPublisher publisher(report, LanguageCodesByKind(entry_codes, report.declared), traces,
                          [&observer, &report](int slot) { observer.TrackPublished(report, slot); });
  SubStreamLog log;
  ScanProgramStream(buffer.data(), read, traces, publisher, log);

  report.streams = ListStreams(survey, frames, report.declared, entry_codes, report.tracks);
  for (AudioStream& stream : report.streams) stream.delay_ms = DelayMs(stream.first_pts, report.video_first_pts);
  const WindowExtent window{read, report.whole_source};
  report.notes = ReconcileStreams(report.declared, log, report.tracks, window, report.streams);
  if (short_read) report.notes.insert(report.notes.begin(), std::move(*short_read));
}

// The file's first MB walked frame by frame: its stream, whose header is
// that of the first frame the next one confirms (a stray sync word before
// the frames is passed over).
AudioStream WalkElementaryFile(const std::string& path, TrackKind kind, int read_size_mb, const PublishedTrack& track,
                               AnalysisReport& report) {
  const ReadOnlyFile file(path);
  const std::uint64_t size = file.Size();
  ReadWindow buffer(ReadWindowSize(read_size_mb, size));
  file.ReadAt(0, buffer.bytes());
  report.bytes_read = buffer.size();
  report.whole_source = buffer.size() >= size;
  AudioStream stream;
  stream.kind = StreamKindOf(kind);
  stream.slot = 0;  // the file's one track
  stream.walk = WalkRawFrames(kind == TrackKind::Ac3 ? FrameFormat::Ac3 : FrameFormat::Dts,
                              std::span<const std::uint8_t>(buffer.data(), buffer.size()));
  stream.header = stream.walk->first_header ? *stream.walk->first_header : track.header;
  stream.summary = SummaryOf(*stream.header);
  return stream;
}

}  // namespace

AnalysisReport AnalyseVideoObject(VideoObjectSource& source, const std::string& path, const RunSettings& settings,
                                  RunObserver& observer) {
  AnalysisReport report;
  report.source = path;
  if (source.Size() == 0) return report;
  observer.RunStarting();
  ReadLanguageCodes(source, report);
  observer.InformationFileRead(report.ifo_path);
  ScanSource(source, settings, observer, report);
  if (std::optional<std::string> note = source.ReadingNote()) {
    report.notes.push_back({NoteCode::ReadAsStored, std::nullopt, std::move(*note)});
  }
  report.changed = true;
  return report;
}

AnalysisReport AnalyseElementaryFile(const std::string& path, TrackKind kind, const RunSettings& settings) {
  AnalysisReport report;
  report.source = path;
  std::optional<ElementaryTrack> read = ReadElementaryTrack(path, kind);
  if (!read) return report;
  report.tracks[0] = std::move(read->track);
  report.changed = true;
  if (!settings.walk_frames) return report;
  report.streams.push_back(WalkElementaryFile(path, kind, settings.read_size_mb, *report.tracks[0], report));
  if (std::optional<RunNote> note = FalseSyncNote(report.streams.front(), read->sync_at)) {
    report.notes.push_back(std::move(*note));
  }
  AddFrameNotes(report.streams, report.notes);
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
