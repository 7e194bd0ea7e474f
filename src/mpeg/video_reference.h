#pragma once
// The video reference time every audio delay is measured against: when the
// first picture of the video is shown, in 90 kHz ticks.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <span>

namespace tonvika {

// One frame period in quarters of a 90 kHz tick for a sequence header's
// frame_rate_code (23.976 and 59.94 Hz periods are not whole ticks, their
// quarters are); nothing for the forbidden and reserved codes.
constexpr std::optional<std::uint32_t> FramePeriodQuarterTicks(int frame_rate_code) {
  constexpr std::uint32_t kQuarterTicks[] = {
      0,      // forbidden
      15015,  // 24000/1001 Hz: 3753.75 ticks
      15000,  // 24 Hz
      14400,  // 25 Hz
      12012,  // 30000/1001 Hz: 3003 ticks
      12000,  // 30 Hz
      7200,   // 50 Hz
      6006,   // 60000/1001 Hz: 1501.5 ticks
      6000,   // 60 Hz
  };
  constexpr int kCodes = static_cast<int>(std::size(kQuarterTicks));
  if (frame_rate_code < 1 || frame_rate_code >= kCodes) return std::nullopt;
  return kQuarterTicks[frame_rate_code];
}

// `pictures` frame periods in ticks, rounded to the nearest tick (halves
// up); nothing for an unknown frame rate.
constexpr std::optional<std::uint64_t> PicturesDurationTicks(int pictures, int frame_rate_code) {
  const std::optional<std::uint32_t> quarter_ticks = FramePeriodQuarterTicks(frame_rate_code);
  if (!quarter_ticks || pictures < 0) return std::nullopt;
  return (static_cast<std::uint64_t>(pictures) * *quarter_ticks + 2) / 4;
}

// What the start codes before the first picture header of a video payload
// tell about that picture.
struct FirstPicture {
  std::optional<int> frame_rate_code;     // of a sequence header before it
  bool closed_gop = false;                // a group of pictures header before it has closed_gop set
  std::optional<int> temporal_reference;  // its own; nothing when no picture header is whole
};

// Reads `video_payload` up to its first picture header. Headers cut by the
// payload's end count as absent.
FirstPicture ReadFirstPicture(std::span<const std::uint8_t> video_payload);

// The first picture's PTS, moved back to the first picture shown when the
// first GOP is closed (that picture then has temporal_reference 0);
// clamped at 0.
std::uint64_t ReferenceFromFirstPicture(std::uint64_t pts, const FirstPicture& picture);

// The reference time from the PTS of the first video PES packet that
// carries one and that packet's payload. Only that packet is read: a GOP
// header split across two packets is rare, and the PTS alone then stands.
std::uint64_t VideoReferencePts(std::uint64_t pts, std::span<const std::uint8_t> video_payload);

}  // namespace tonvika
