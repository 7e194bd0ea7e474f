#pragma once
// The analyse command as the window sees it: the run's report shown in the
// eight slots, the rows, the detail pages, the list report and the status
// bar, track by track as the run publishes them.

#include <string>

#include "analysis/analysis_run.h"
#include "lang/language_table.h"
#include "view/track_slots.h"

namespace tonvika {

// What the run needs of the window (or of the command-line tool).
class RunHost {
 public:
  virtual ~RunHost() = default;
  virtual std::string FilePath() = 0;            // Label1
  virtual int ReadSizeMegabytes() = 0;           // Label2, 1 to 20
  // Whether each stream's every frame is walked; the window always does.
  virtual bool WalkFrames() { return true; }
  virtual DisplayLanguage Language() = 0;        // RadioGroup1
  virtual const LanguageTable& Languages() = 0;  // the table loaded at start
  virtual TrackSlots& Slots() = 0;
  virtual void SetStatus(int panel, const std::string& text) = 0;  // panels 0 and 1
  virtual void SetCommandsEnabled(bool enabled) = 0;  // Button1, N1, N2
  virtual void ProcessPendingEvents() = 0;
};

// Takes the path from the host once, then analyses it: .ac3 and .dts as
// raw files, anything else as a video object file with the IFO beside it.
// Throws FileError when the source or the information file cannot be
// opened; the commands are enabled again and status panel 0 emptied first.
AnalysisReport RunAnalysis(RunHost& host);

// The same over any video-object source (a title set of a disc); `path` is
// the path the list report names.
AnalysisReport AnalyseVideoObject(RunHost& host, const std::string& path, VideoObjectSource& source);

// A raw .ac3 or .dts file's track as the only row, list report line and
// page (Tr1); nothing changes but page Tr1 of an AC-3 file when the file
// holds no sync word. Throws FileError as AnalyseElementaryFile does.
AnalysisReport ShowRawFile(const std::string& path, TrackKind kind, const RunSettings& settings, TrackSlots& slots);

}  // namespace tonvika
