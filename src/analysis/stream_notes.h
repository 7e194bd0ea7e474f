#pragma once
// What the run has to say beyond the list: the IFO's declarations set
// against the sub-streams the scan met in the read window.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/audio_stream.h"
#include "dvd/ifo_declared.h"
#include "mpeg/sub_stream_log.h"
#include "mpeg/track_kind.h"

namespace tonvika {

enum class NoteCode {
  ShortRead,         // the source gave fewer bytes than it said it holds; the results are of those read
  DeclaredNotFound,  // the first program chain declares a stream the window holds no packet of
  SlotTaken,         // an audio sub-stream was met, but its slot holds another kind's track
  NotDeclared,       // a track was found that a readable program chain does not declare
  Scrambled,         // most of a stream's packets, or a long run of them, were skipped for their scrambling bits
  OutsideList,       // an MPEG audio stream was met, which the list has no row for
  HeaderChange,      // a stream's header changes inside the window
  CrcErrors,         // frames fail their CRC
  Resync,            // a stream lost its frames and found them again
  FalseSync,         // a raw file's first sync word begins no frame
  ReadAsStored,      // a disc's title was read as its VOBs store it, its program chain being unreadable
};

// "short-read", "declared-not-found", "slot-taken", "not-declared", "scrambled",
// "outside-list", "header-change", "crc-errors", "resync", "false-sync",
// "read-as-stored".
std::string_view NoteCodeName(NoteCode code);

// "sub-stream 0x81" (private stream 1), "stream 0xC0" (MPEG audio), "the
// stream" (a raw file's, which has no id).
std::string StreamName(StreamKind kind, std::optional<int> stream_id);

struct RunNote {
  NoteCode code;
  std::optional<int> stream_id;  // the sub-stream the note is about, if one
  std::string text;              // one line of English
};

// What the read window covered of the source.
struct WindowExtent {
  std::size_t size = 0;       // bytes scanned
  bool whole_source = false;  // the window reached the end of the program stream
};

inline constexpr std::size_t kLargestReadWindow = std::size_t{20} << 20;

using FoundTracks = std::array<std::optional<PublishedTrack>, kSlotCount>;

// The notes, in the order of NoteCode, each group by stream or slot.
// Without an IFO (or a readable program chain) only slot-taken, scrambled
// and outside-list can be said. `streams` are the streams met in the window,
// by stream id (MPEG audio among them).
std::vector<RunNote> ReconcileStreams(const DeclaredAudio& declared, const SubStreamLog& log,
                                      const FoundTracks& tracks, const WindowExtent& window,
                                      const std::vector<AudioStream>& streams = {});

}  // namespace tonvika
