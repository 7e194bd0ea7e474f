#pragma once
// The three kinds of audio track and what a published one leaves behind.

#include <optional>
#include <string>

#include "codecs/frame_description.h"
#include "codecs/header_values.h"

namespace tonvika {

enum class TrackKind { Ac3, Dts, Lpcm };

// The list has eight slots; slot n takes stream n of whichever kind comes first.
inline constexpr int kSlotCount = 8;

// The first private stream 1 sub-stream number of each kind: stream n of the
// title is 0x80 + n (AC-3), 0x88 + n (DTS) or 0xA0 + n (LPCM).
constexpr int SubStreamBase(TrackKind kind) {
  switch (kind) {
    case TrackKind::Ac3: return 0x80;
    case TrackKind::Dts: return 0x88;
    case TrackKind::Lpcm: return 0xA0;
  }
  return 0;
}

// A track as it was published into its slot.
struct PublishedTrack {
  TrackKind kind;
  std::optional<int> stream_id;  // the sub-stream number; none for a raw file
  TrackHeader header;            // the decoded header it was described from
  FrameDescription description;  // its detail lines (none for LPCM) and summary
  std::string sync_trace;        // AC-3: the slot's sync candidates when it was confirmed
};

}  // namespace tonvika
