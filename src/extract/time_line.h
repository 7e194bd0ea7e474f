#pragma once
// The time an extracted stream covers, checked against the PTS its packets
// carry: where the PTS jumps away from the time the frames before it last,
// the output has a gap (or an overlap) that a player of the file will not
// know of.

#include <cstdint>
#include <optional>
#include <vector>

namespace tonvika {

inline constexpr double kTicksPerSecond = 90000.0;

struct TimeJump {
  double at_s = 0;  // into the output
  double by_s = 0;  // how much later (earlier, when negative) the stream goes on
};

class TimeLine {
 public:
  // A packet's PTS, for the unit that begins `elapsed_ticks` into the
  // output. The first one sets the origin.
  void Stamp(std::uint64_t pts, double elapsed_ticks);
  const std::vector<TimeJump>& Jumps() const { return jumps_; }

 private:
  std::optional<double> origin_;  // the PTS of the output's start, jumps included
  std::vector<TimeJump> jumps_;
};

}  // namespace tonvika
