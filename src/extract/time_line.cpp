#include "extract/time_line.h"

#include <cmath>

namespace tonvika {

namespace {

// PTS count 33 bits and wrap around.
constexpr double kPtsWrap = 8589934592.0;
// Muxers stamp packets unevenly by some milliseconds (ffmpeg's LPCM by a
// packet's length, 10 ms); what stays under 20 ms is below what a viewer
// notices of audio against video. Small misses do not add up: each stamp
// is held against the same origin.
constexpr double kToleranceTicks = 20 * 90.0;

}  // namespace

void TimeLine::Stamp(std::uint64_t pts, double elapsed_ticks) {
  const double stamped = static_cast<double>(pts);
  if (!origin_) {
    origin_ = stamped - elapsed_ticks;
    return;
  }
  double jump = std::fmod(stamped - (*origin_ + elapsed_ticks), kPtsWrap);
  if (jump > kPtsWrap / 2) jump -= kPtsWrap;
  if (jump < -kPtsWrap / 2) jump += kPtsWrap;
  if (std::abs(jump) <= kToleranceTicks) return;
  jumps_.push_back({elapsed_ticks / kTicksPerSecond, jump / kTicksPerSecond});
  *origin_ += jump;
}

}  // namespace tonvika
