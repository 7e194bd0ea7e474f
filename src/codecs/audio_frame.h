#pragma once
// One frame of an AC-3, DTS or MPEG audio stream, read from its first bytes:
// how long it is, the time it covers, its typed header, and whether its
// check words hold. What a walk over every frame of a stream asks.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "codecs/header_values.h"

namespace tonvika {

enum class FrameFormat { Ac3, Dts, MpegAudio };

struct AudioFrameHead {
  std::size_t bytes = 0;  // the whole frame, sync word included
  std::uint32_t samples = 0;
  int sample_rate_hz = 0;
  TrackHeader header;
};

// The frame whose sync word is at bytes[0]; none when no valid header
// begins there (a reserved code, a size the format does not allow) or
// `bytes` is too short to hold the header.
std::optional<AudioFrameHead> ReadFrameHead(FrameFormat format, std::span<const std::uint8_t> bytes);

// What ReadFrameHead tells of a frame's length and time, and exactly where
// it finds a frame, without decoding its whole header: for a walk that
// only steps from frame to frame over hours of a stream.
struct FrameSpan {
  std::size_t bytes = 0;
  std::uint32_t samples = 0;
  int sample_rate_hz = 0;
};
std::optional<FrameSpan> ReadFrameSpan(FrameFormat format, std::span<const std::uint8_t> bytes);

// The first byte of each format's sync word, for a quick search.
std::uint8_t SyncByte(FrameFormat format);

// Whether two frames beginning at a[0] and b[0] have the same head, told
// from their bytes alone: the sync word and what ReadFrameHead reads after
// it, but for AC-3's crc1, which differs from frame to frame.
bool SameFrameHead(FrameFormat format, std::span<const std::uint8_t> a, std::span<const std::uint8_t> b);

// The fields whose change is a change of the stream; those that vary from
// frame to frame by design (AC-3 compr, MPEG padding_bit, DTS HCRC) are
// left out, and AC-3's frmsizecod counts by its bit rate alone (its low bit
// pads frames at 44.1 kHz).
using DefiningFields = std::array<unsigned, 8>;
DefiningFields StreamDefiningFields(const TrackHeader& header);

// The check words of a whole frame: AC-3's two CRCs, MPEG audio's CRC when
// the frame has one; none for DTS (its core has no CRC over the audio) and
// for MPEG audio frames without protection.
std::optional<bool> FrameCrcHolds(const TrackHeader& header, std::span<const std::uint8_t> frame);

}  // namespace tonvika
