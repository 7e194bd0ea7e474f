#pragma once
// What an analysis finds in one source (a file or a title set of a disc):
// a plain value, free of window state. The window's slots, rows, pages and
// list report, the command-line text and JSON are all views of it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/audio_stream.h"
#include "analysis/stream_notes.h"
#include "dvd/ifo_audio.h"
#include "dvd/ifo_declared.h"
#include "mpeg/track_kind.h"

namespace tonvika {

struct AnalysisReport {
  bool changed = false;          // false: empty path, 0-byte file, no sync word
  std::string source;            // the path the list report names
  std::optional<int> title_set;  // for a title set of a disc
  std::optional<int> title;      // the disc's title it was read through, if one
  std::size_t bytes_read = 0;    // the read window
  bool whole_source = false;     // the window reached the end of the program stream
  std::string ifo_path;          // the information file read, empty when none
  LanguageCodes language_codes;  // by slot: the code its track took (entry n for a free slot)
  FoundTracks tracks;            // the list's tracks, by slot
  DeclaredAudio declared;        // what the information file declares; empty without one
  std::optional<std::uint64_t> video_first_pts;  // the reference of every delay
  std::vector<AudioStream> streams;              // every audio stream met, by stream id
  std::vector<RunNote> notes;    // what the list cannot say
};

}  // namespace tonvika
