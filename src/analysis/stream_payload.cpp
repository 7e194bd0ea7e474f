#include "analysis/stream_payload.h"

#include <algorithm>
#include <cstring>

namespace tonvika {

Payload::Payload(std::span<const std::uint8_t> window, std::vector<Segment> segments)
    : window_(window), segments_(std::move(segments)) {
  if (!segments_.empty()) size_ = segments_.back().start + segments_.back().length;
}

std::size_t Payload::SegmentIndex(std::size_t at) const {
  const auto after = std::upper_bound(segments_.begin(), segments_.end(), at,
                                      [](std::size_t value, const Segment& s) { return value < s.start; });
  return after == segments_.begin() ? 0 : static_cast<std::size_t>(after - segments_.begin() - 1);
}

std::span<const std::uint8_t> Payload::View(std::size_t at, std::size_t count, std::vector<std::uint8_t>& scratch) const {
  if (at >= size_) return {};
  count = std::min(count, size_ - at);
  std::size_t index = SegmentIndex(at);
  const Segment* segment = &segments_[index];
  std::size_t inside = at - segment->start;
  if (inside + count <= segment->length) return window_.subspan(segment->offset + inside, count);
  scratch.clear();
  while (scratch.size() < count) {
    const std::size_t take = std::min(count - scratch.size(), segment->length - inside);
    const auto from = window_.begin() + static_cast<std::ptrdiff_t>(segment->offset + inside);
    scratch.insert(scratch.end(), from, from + static_cast<std::ptrdiff_t>(take));
    if (++index >= segments_.size()) break;
    segment = &segments_[index];
    inside = 0;
  }
  return scratch;
}

std::size_t Payload::Find(std::uint8_t value, std::size_t at) const {
  for (std::size_t index = SegmentIndex(at); index < segments_.size() && at < size_; ++index) {
    const Segment& segment = segments_[index];
    const std::size_t inside = at - segment.start;
    const std::uint8_t* from = window_.data() + segment.offset + inside;
    const void* hit = std::memchr(from, value, segment.length - inside);
    if (hit != nullptr) return at + static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - from);
    at = segment.start + segment.length;
  }
  return size_;
}

Payload PayloadOf(const StreamSurveyEntry& entry, std::span<const std::uint8_t> window) {
  std::vector<Segment> segments;
  segments.reserve(entry.pieces.size());
  std::size_t start = 0;
  bool gap = false;
  for (const PayloadPiece& piece : entry.pieces) {
    if (piece.missing) {
      gap = true;
      continue;
    }
    if (piece.length == 0) continue;
    Segment segment{start, piece.offset, piece.length, piece.pts, std::nullopt, gap};
    if (piece.first_access_unit != 0 && piece.first_access_unit - 1u < piece.length) {
      segment.first_unit = start + piece.first_access_unit - 1u;
    }
    segments.push_back(segment);
    start += piece.length;
    gap = false;
  }
  return Payload(window, std::move(segments));
}

}  // namespace tonvika
