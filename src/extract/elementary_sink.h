#pragma once
// An AC-3, DTS or MPEG audio stream extracted as its elementary stream:
// from its first frame to the end of its last whole frame, every byte in
// between as the packets carry it.

#include <deque>
#include <vector>

#include "codecs/audio_frame.h"
#include "extract/byte_output.h"
#include "extract/stream_sink.h"

namespace tonvika {

class ElementarySink final : public StreamSink {
 public:
  ElementarySink(FrameFormat format, ByteOutput& output) : format_(format), output_(output) {}

  void Take(std::span<const std::uint8_t> payload, const PacketStamp& stamp) override;
  void Gap() override;
  void Finish() override;
  SinkCounts Counts() const override { return counts_; }
  double ElapsedTicks() const override { return ticks_; }
  const TimeLine& Times() const override { return times_; }

 private:
  struct Stamp {
    std::uint64_t at;  // stream position of the unit it stamps (or from which the next frame is stamped)
    std::uint64_t pts;
  };

  void Walk(bool ending);
  bool FindFirstFrame(bool ending);
  std::optional<std::size_t> NextFrameAt(std::size_t from, bool ending) const;
  std::optional<FrameSpan> FrameAt(std::size_t at) const;
  void WriteFrame(const FrameSpan& head);
  void Consume(std::size_t bytes);

  FrameFormat format_;
  ByteOutput& output_;
  std::vector<std::uint8_t> pending_;  // bytes taken, not yet written or dropped
  std::uint64_t base_ = 0;             // stream position of pending_[0]
  std::uint64_t last_frame_at_ = 0;    // stream position of the last frame written
  bool synced_ = false;
  bool any_frame_ = false;
  std::deque<Stamp> stamps_;
  double ticks_ = 0;
  SinkCounts counts_;
  TimeLine times_;
};

}  // namespace tonvika
