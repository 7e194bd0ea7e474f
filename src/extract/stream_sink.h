#pragma once
// One stream being extracted: its packets' payloads go in, in stream order;
// the file's bytes come out.

#include <cstdint>
#include <optional>
#include <span>

#include "extract/time_line.h"

namespace tonvika {

// What a packet says of its payload.
struct PacketStamp {
  std::optional<std::uint64_t> pts;
  // Where the first unit that begins in the payload begins, counted from
  // the payload's start; nothing where the packet does not say (MPEG audio:
  // the PTS is the first frame's that begins in it).
  std::optional<std::size_t> first_unit;
};

struct SinkCounts {
  std::uint64_t frames = 0;  // whole frames written (LPCM: sample periods)
  double duration_s = 0;
  std::uint32_t resyncs = 0;  // bytes between frames that begin no frame, kept as they are
};

class StreamSink {
 public:
  virtual ~StreamSink() = default;
  virtual void Take(std::span<const std::uint8_t> payload, const PacketStamp& stamp) = 0;
  // Packets are missing before the next one: what waits of a unit is dropped.
  virtual void Gap() = 0;
  // The stream ends: what waits of a unit is dropped, headers are final.
  virtual void Finish() = 0;
  virtual SinkCounts Counts() const = 0;
  // The output's length in 90 kHz ticks so far.
  virtual double ElapsedTicks() const = 0;
  virtual const TimeLine& Times() const = 0;
};

}  // namespace tonvika
