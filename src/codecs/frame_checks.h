#pragma once
// How long an audio frame is, how much time it covers, and whether its check
// words hold: what a walk over every frame of a stream needs of each kind.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "codecs/dts_header.h"
#include "codecs/mpeg_audio_header.h"

namespace tonvika {

// AC-3: the frame's bytes by fscod and frmsizecod (A/52 table 5.18); none
// for the reserved fscod 3 or frmsizecod 38 and above.
std::optional<std::size_t> Ac3FrameBytes(unsigned fscod, unsigned frmsizecod);
inline constexpr std::uint32_t kAc3FrameSamples = 1536;

// Both check words of a whole AC-3 frame, sync word first: crc1 over the
// first five eighths of the frame after the sync word, crc2 over the rest.
bool Ac3FrameCrcsHold(std::span<const std::uint8_t> frame);

// DTS: the frame's bytes (FSIZE + 1; none below the smallest frame the
// format allows) and its samples ((NBLKS + 1) x 32).
std::optional<std::size_t> DtsFrameBytes(const DtsHeader& header);
std::uint32_t DtsFrameSamples(const DtsHeader& header);

// MPEG audio: the samples of a frame (384 in Layer I, 1152 in Layer II and
// in Layer III of MPEG-1, 576 in Layer III at the lower sampling rates).
std::uint32_t MpegAudioFrameSamples(const MpegAudioHeader& header);

// The frame's CRC when protection_bit is 0: over header bytes 2 and 3 and
// the protected side information (Layer I: bit allocation; Layer II: bit
// allocation and scfsi; Layer III: the side information). None when the
// frame carries no CRC or `frame` is too short to hold what it protects.
std::optional<bool> MpegAudioCrcHolds(const MpegAudioHeader& header, std::span<const std::uint8_t> frame);

}  // namespace tonvika
