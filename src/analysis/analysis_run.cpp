#include "analysis/analysis_run.h"

#include <algorithm>

#include "analysis/elementary_file_run.h"
#include "analysis/publish_track.h"
#include "analysis/stream_mapping.h"
#include "analysis/vob_file_source.h"
#include "io/file_error.h"
#include "io/read_window.h"

namespace tonvika {

namespace {

constexpr int kMinReadSize = 1;
constexpr int kMaxReadSize = 20;
constexpr const char* kStatusBusy = "処理中";
constexpr const char* kStatusDone = "終わり";

RunOutcome AnalyseElementaryFile(RunHost& host, const std::string& path, bool ac3) {
  TrackSlots& slots = host.Slots();
  slots.ShowDetailArea(true);
  slots.ShowTab(0, true);
  for (int n = 1; n < kSlotCount; ++n) slots.ShowTab(n, false);
  RunOutcome outcome;
  outcome.tracks[0] = ac3 ? AnalyseAc3File(path, slots) : AnalyseDtsFile(path, slots);
  outcome.changed = outcome.tracks[0].has_value();
  return outcome;
}

std::size_t ReadWindowSize(int read_size_mb, std::uint64_t file_size) {
  const auto megabytes = static_cast<std::uint64_t>(std::clamp(read_size_mb, kMinReadSize, kMaxReadSize));
  return static_cast<std::size_t>(std::min(megabytes << 20, file_size));
}

void PrepareSlots(TrackSlots& slots) {
  slots.SetListedSlotMask(0);
  slots.SetDetailSlotMask(0);
  for (int n = 0; n < kSlotCount; ++n) {
    slots.ClearPage(n);
    slots.ShowTab(n, true);
  }
}

void ReadLanguageCodes(RunHost& host, VideoObjectSource& source, RunOutcome& outcome) {
  if (const std::optional<InformationFile> ifo = source.ReadInformationFile()) {
    host.SetStatus(1, ifo->path);
    outcome.ifo_path = ifo->path;
    outcome.language_codes = AudioLanguageCodes(ifo->bytes);
    outcome.declared = ReadDeclaredAudio(ifo->bytes);
  }
}

void ScanSource(RunHost& host, const std::string& path, VideoObjectSource& source, RunOutcome& outcome) {
  const std::uint64_t source_size = source.Size();
  ReadWindow buffer(ReadWindowSize(host.ReadSizeMegabytes(), source_size));
  // A short read leaves the rest of the window zero; it is scanned as such.
  source.ReadWindow(buffer.bytes());
  host.Slots().AppendListReportLine(path);
  SyncTraces traces;
  const TrackLanguageCodes codes = LanguageCodesByKind(outcome.language_codes, outcome.declared);
  SlotPublisher publisher(
      host.Slots(), codes, traces,
      [&host](const std::string& code) { return LookupLanguageName(host.Languages(), code, host.Language()); },
      [&host, &outcome, &codes](int slot, const PublishedTrack& track) {
        outcome.tracks[slot] = track;
        outcome.language_codes[slot] = codes[static_cast<std::size_t>(track.kind)][slot];
        host.ProcessPendingEvents();
      });
  SubStreamLog log;
  ScanProgramStream(buffer.data(), buffer.size(), traces, publisher, log);
  const WindowExtent window{buffer.size(), buffer.size() >= source_size};
  outcome.notes = ReconcileStreams(outcome.declared, log, outcome.tracks, window);
}

void Report(TrackSlots& slots) {
  slots.AppendListReportLine("----------");
  slots.AppendListReportLine("List");
  slots.AppendListReportLine("Tr");
  slots.ShowDetailArea(true);
  for (int n = 0; n < kSlotCount; ++n) {
    // "%x %s": slot numbers 1 to 8 read the same in hexadecimal.
    slots.AppendListReportLine(std::to_string(n + 1) + " " + slots.KindText(n));
    if (!slots.PageHasText(n)) slots.ShowTab(n, false);
  }
  if (slots.DetailSlotMask() == 0) {
    slots.ShowDetailArea(false);
    for (int n = 0; n < kSlotCount; ++n) slots.SetPageText(n, "");
  }
}

}  // namespace

RunOutcome AnalyseVideoObject(RunHost& host, const std::string& path, VideoObjectSource& source) {
  RunOutcome outcome;
  if (source.Size() == 0) return outcome;
  TrackSlots& slots = host.Slots();
  PrepareSlots(slots);
  host.SetCommandsEnabled(false);
  try {
    slots.RemoveAllRows();
    host.SetStatus(0, kStatusBusy);
    host.SetStatus(1, "");
    ReadLanguageCodes(host, source, outcome);
    host.ProcessPendingEvents();
    slots.AddEightRows();
    slots.ClearListReport();
    ScanSource(host, path, source, outcome);
  } catch (...) {
    // The window must never be left with its commands disabled.
    host.SetCommandsEnabled(true);
    host.SetStatus(0, "");
    throw;
  }
  Report(slots);
  host.SetCommandsEnabled(true);
  host.SetStatus(0, kStatusDone);
  outcome.changed = true;
  return outcome;
}

std::string FileExtension(const std::string& path) {
  const auto name_start = path.find_last_of("/\\");
  const auto dot = path.rfind('.');
  if (dot == std::string::npos || (name_start != std::string::npos && dot < name_start)) return {};
  std::string extension = path.substr(dot);
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension;
}

RunOutcome RunAnalysis(RunHost& host) {
  // The path is taken once: input changed while the run lets events through
  // does not reach this run.
  const std::string path = host.FilePath();
  if (path.empty()) return {};
  const std::string extension = FileExtension(path);
  if (extension == ".ac3") return AnalyseElementaryFile(host, path, true);
  if (extension == ".dts") return AnalyseElementaryFile(host, path, false);
  VobFileSource source(path);
  return AnalyseVideoObject(host, path, source);
}

}  // namespace tonvika
