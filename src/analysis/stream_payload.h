#pragma once
// A stream's payload as its packets carry it: the pieces joined in stream
// order, missing ones left out, read where they lie in the window. A frame
// that lies in one packet is used in place; only one split between packets
// is put together, in a small buffer the caller owns.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "mpeg/stream_survey.h"

namespace tonvika {

// One piece: where it lies in the window and where it starts in the stream.
struct Segment {
  std::size_t start = 0;   // in the stream
  std::size_t offset = 0;  // in the window
  std::size_t length = 0;
  std::optional<std::uint64_t> pts;
  std::optional<std::size_t> first_unit;  // the pointed first access unit, in the stream
  bool after_gap = false;                 // a missing payload comes before it
};

class Payload {
 public:
  Payload(std::span<const std::uint8_t> window, std::vector<Segment> segments);

  std::size_t Size() const { return size_; }
  const std::vector<Segment>& Segments() const { return segments_; }

  // The segment holding stream position `at` (the last one for the end).
  std::size_t SegmentIndex(std::size_t at) const;

  // Up to `count` bytes from `at`, fewer at the end. The span is valid
  // until the next call with the same `scratch`.
  std::span<const std::uint8_t> View(std::size_t at, std::size_t count, std::vector<std::uint8_t>& scratch) const;

  // The first position from `at` on whose byte is `value`, or Size().
  std::size_t Find(std::uint8_t value, std::size_t at) const;

 private:
  std::span<const std::uint8_t> window_;
  std::vector<Segment> segments_;
  std::size_t size_ = 0;
};

// The payload of a surveyed stream in `window`.
Payload PayloadOf(const StreamSurveyEntry& entry, std::span<const std::uint8_t> window);

}  // namespace tonvika
