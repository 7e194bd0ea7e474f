#pragma once
// The walk over every frame of an audio stream: from its first frame, frame
// after frame by the size each header gives, across packet boundaries, each
// frame checked (CRCs, the next sync word) and compared with the one before.

#include <cstddef>
#include <optional>
#include <span>

#include "analysis/audio_stream.h"
#include "codecs/audio_frame.h"
#include "mpeg/stream_survey.h"

namespace tonvika {

// The frame format of a kind of stream; none for LPCM and the extension
// streams.
std::optional<FrameFormat> FrameFormatOf(StreamKind kind);

// A stream of the program stream, through its packets' payloads in `window`
// (the bytes as read). Missing payloads (scrambled packets) break the
// sequence: no frame is taken across them.
FrameWalk WalkStreamFrames(const StreamSurveyEntry& entry, FrameFormat format, std::span<const std::uint8_t> window);

// A raw elementary stream from its first byte. A frame counts only where
// the next one follows it at its size (or the bytes end), so a stray sync
// word is passed over; first_frame_at tells where the frames start.
FrameWalk WalkRawFrames(FrameFormat format, std::span<const std::uint8_t> bytes);

// LPCM: the time its packets' bytes last at the rate of its attribute byte,
// in frames of 1/600 s, and the bit rate the packets carry between their
// first and last PTS.
struct LpcmMeasure {
  FrameWalk walk;
  std::optional<double> bit_rate_kbps;
};
LpcmMeasure MeasureLpcm(const StreamSurveyEntry& entry);

}  // namespace tonvika
