#include "view/window_run.h"

#include "analysis/vob_file_source.h"
#include "view/publish_track.h"

namespace tonvika {

namespace {

constexpr const char* kStatusBusy = "処理中";
constexpr const char* kStatusDone = "終わり";
constexpr int kSlot = 0;  // a raw file's track

RunSettings SettingsOf(RunHost& host) { return RunSettings{host.ReadSizeMegabytes(), host.WalkFrames()}; }

void PrepareSlots(TrackSlots& slots) {
  slots.SetListedSlotMask(0);
  slots.SetDetailSlotMask(0);
  for (int n = 0; n < kSlotCount; ++n) {
    slots.ClearPage(n);
    slots.ShowTab(n, true);
  }
}

std::string LanguagePartFor(RunHost& host, const std::string& code) {
  return LanguagePart(code, [&host](const std::string& c) { return LookupLanguageName(host.Languages(), c, host.Language()); });
}

// The window's side of a run: the status bar, the rows as tracks come in.
class WindowObserver final : public RunObserver {
 public:
  WindowObserver(RunHost& host, const std::string& path) : host_(host), path_(path) {}

  void RunStarting() override {
    TrackSlots& slots = host_.Slots();
    PrepareSlots(slots);
    host_.SetCommandsEnabled(false);
    slots.RemoveAllRows();
    host_.SetStatus(0, kStatusBusy);
    host_.SetStatus(1, "");
  }

  void InformationFileRead(const std::string& ifo_path) override {
    if (!ifo_path.empty()) host_.SetStatus(1, ifo_path);
    host_.ProcessPendingEvents();
    TrackSlots& slots = host_.Slots();
    slots.AddEightRows();
    slots.ClearListReport();
    slots.AppendListReportLine(path_);
  }

  void TrackPublished(const AnalysisReport& report, int slot) override {
    const auto& track = report.tracks[static_cast<std::size_t>(slot)];
    ShowPublishedTrack(host_.Slots(), slot, *track,
                       LanguagePartFor(host_, report.language_codes[static_cast<std::size_t>(slot)]));
    host_.ProcessPendingEvents();
  }

 private:
  RunHost& host_;
  const std::string& path_;
};

// The list report's table and the tabs that stay, after the walk.
void ShowListReport(TrackSlots& slots) {
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

// The file's track becomes the only row of the list and of the list report;
// its lines the only text of page Tr1.
void ShowSingleTrack(const std::string& path, const PublishedTrack& track, TrackSlots& slots) {
  // Unlike a VOB's AC-3 row, a raw file's row ends with its summary.
  const std::string kind = (track.kind == TrackKind::Ac3 ? "AC-3 " : "DTS") + track.description.summary;
  slots.ClearPage(kSlot);
  for (const std::string& line : track.description.lines) slots.AppendLine(kSlot, line);
  slots.SetListedSlotMask(1);
  slots.SetDetailSlotMask(1);
  slots.RemoveAllRows();
  slots.AddSingleRow("1", kind);
  slots.ClearListReport();
  slots.AppendListReportLine(path);
  slots.AppendListReportLine("----------");
  slots.AppendListReportLine("List");
  slots.AppendListReportLine(kind);
}

AnalysisReport AnalyseRawFile(RunHost& host, const std::string& path, TrackKind kind) {
  TrackSlots& slots = host.Slots();
  slots.ShowDetailArea(true);
  slots.ShowTab(kSlot, true);
  for (int n = 1; n < kSlotCount; ++n) slots.ShowTab(n, false);
  return ShowRawFile(path, kind, SettingsOf(host), slots);
}

}  // namespace

AnalysisReport ShowRawFile(const std::string& path, TrackKind kind, const RunSettings& settings, TrackSlots& slots) {
  // An AC-3 file's page is emptied even when it turns out empty or unreadable.
  if (kind == TrackKind::Ac3) slots.ClearPage(kSlot);
  AnalysisReport report = AnalyseElementaryFile(path, kind, settings);
  if (report.tracks[kSlot]) ShowSingleTrack(path, *report.tracks[kSlot], slots);
  return report;
}

AnalysisReport AnalyseVideoObject(RunHost& host, const std::string& path, VideoObjectSource& source) {
  WindowObserver observer(host, path);
  AnalysisReport report;
  try {
    report = AnalyseVideoObject(source, path, SettingsOf(host), observer);
  } catch (...) {
    // The window must never be left with its commands disabled.
    host.SetCommandsEnabled(true);
    host.SetStatus(0, "");
    throw;
  }
  if (!report.changed) return report;
  ShowListReport(host.Slots());
  host.SetCommandsEnabled(true);
  host.SetStatus(0, kStatusDone);
  return report;
}

AnalysisReport RunAnalysis(RunHost& host) {
  // The path is taken once: input changed while the run lets events through
  // does not reach this run.
  const std::string path = host.FilePath();
  if (path.empty()) return {};
  if (const std::optional<TrackKind> kind = ElementaryKind(path)) return AnalyseRawFile(host, path, *kind);
  VobFileSource source(path);
  return AnalyseVideoObject(host, path, source);
}

}  // namespace tonvika
