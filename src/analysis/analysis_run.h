#pragma once
// The analyse command from end to end.

#include <array>
#include <optional>
#include <string>

#include "analysis/ifo_audio.h"
#include "analysis/ifo_declared.h"
#include "analysis/program_stream_scan.h"
#include "analysis/stream_notes.h"
#include "analysis/track_kind.h"
#include "analysis/track_slots.h"
#include "analysis/video_object_source.h"
#include "lang/language_table.h"

namespace tonvika {

// What the run needs of the window (or of the command-line tool).
class RunHost {
 public:
  virtual ~RunHost() = default;
  virtual std::string FilePath() = 0;            // Label1
  virtual int ReadSizeMegabytes() = 0;           // Label2, 1 to 20
  virtual DisplayLanguage Language() = 0;        // RadioGroup1
  virtual const LanguageTable& Languages() = 0;  // the table loaded at start
  virtual TrackSlots& Slots() = 0;
  virtual void SetStatus(int panel, const std::string& text) = 0;  // panels 0 and 1
  virtual void SetCommandsEnabled(bool enabled) = 0;  // Button1, N1, N2
  virtual void ProcessPendingEvents() = 0;
};

struct RunOutcome {
  bool changed = false;       // false: empty path, 0-byte file, no sync word
  std::string ifo_path;       // the information file read, empty when none
  LanguageCodes language_codes;  // by slot: the code its track took (entry n for a free slot)
  std::array<std::optional<PublishedTrack>, kSlotCount> tracks;  // what each slot was published as
  DeclaredAudio declared;        // what the information file declares; empty without one
  std::vector<RunNote> notes;    // the declarations set against what the window held
};

// Throws FileError when the source or the information file cannot be opened;
// the commands are enabled again and status panel 0 emptied before it leaves.
RunOutcome RunAnalysis(RunHost& host);

// The video-object path of the run over any source; `path` is the path the
// list report names. RunAnalysis takes it for a file that is not .ac3/.dts.
RunOutcome AnalyseVideoObject(RunHost& host, const std::string& path, VideoObjectSource& source);

// The lower-cased extension of the last path component, dot included.
std::string FileExtension(const std::string& path);

}  // namespace tonvika
