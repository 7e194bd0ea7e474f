#pragma once
// The walk over a read window for MPEG-2 private stream 1 packets.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "mpeg/sub_stream_log.h"
#include "mpeg/track_kind.h"
#include "codecs/dts_header.h"

namespace tonvika {

// The AC-3 sync candidates of one slot: the trace text ("[%.6X %.2X %.2X %.2X]"
// entries) plus the candidates' bytes 4 to 6, on which agreement is decided.
struct SyncTrace {
  std::string text;
  std::size_t count = 0;
  std::array<std::uint8_t, 3> previous{};  // bytes 4, 5, 6 of the candidate before the last
  std::array<std::uint8_t, 3> last{};      // bytes 4, 5, 6 of the last candidate
};
using SyncTraces = std::array<SyncTrace, 8>;

// What the scan hands over for one track.
struct TrackPublication {
  TrackKind kind;
  int slot;                        // 0 to 7
  std::uint8_t* buffer = nullptr;  // AC-3: the scanned buffer itself
  std::size_t frame_offset = 0;    // AC-3: offset of frame byte 4 in buffer
  DtsHeaderBytes dts_header{};     // DTS: the eleven bytes after the sync word
  std::uint8_t lpcm_attribute = 0; // LPCM: the attribute byte
};

class TrackPublisher {
 public:
  virtual ~TrackPublisher() = default;
  virtual bool IsSlotFree(int slot) const = 0;
  virtual void PublishTrack(const TrackPublication& publication) = 0;
};

// True when the trace holds three candidates or more and the last two agree
// in bytes 4 and 5 and in the top four bits of byte 6.
bool LastTwoSyncsAgree(const SyncTrace& trace);

// The trace test on the text alone, as it holds for traces whose entries all
// lie below 16 MiB (17 characters each).
bool LastTwoSyncsAgree(std::string_view trace_text);

// Walks buffer[0 .. size-1] and calls publisher.PublishTrack for each track
// found. The AC-3 analysis behind PublishTrack may rewrite bytes inside the
// packet being examined; the walk sees the buffer as it is then.
void ScanProgramStream(std::uint8_t* buffer, std::size_t size, SyncTraces& traces,
                       TrackPublisher& publisher);

// The same, recording in `log` every sub-stream met (MPEG-2 packets only).
void ScanProgramStream(std::uint8_t* buffer, std::size_t size, SyncTraces& traces,
                       TrackPublisher& publisher, SubStreamLog& log);

}  // namespace tonvika
