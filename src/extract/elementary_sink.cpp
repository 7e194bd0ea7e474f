#include "extract/elementary_sink.h"

#include <cstring>

namespace tonvika {

namespace {

// Enough bytes for any of the formats' headers.
constexpr std::size_t kHeadBytes = 16;
// Bytes that begin no frame are held back while a frame might still begin
// in them; past this much they are written on.
constexpr std::size_t kMaxHeldBack = 1 << 20;

}  // namespace

void ElementarySink::Take(std::span<const std::uint8_t> payload, const PacketStamp& stamp) {
  if (stamp.pts) stamps_.push_back({base_ + pending_.size() + stamp.first_unit.value_or(0), *stamp.pts});
  pending_.insert(pending_.end(), payload.begin(), payload.end());
  Walk(false);
}

void ElementarySink::Gap() {
  Consume(pending_.size());
  stamps_.clear();
  synced_ = false;
}

void ElementarySink::Finish() {
  Walk(true);
  Consume(pending_.size());
}

std::optional<FrameSpan> ElementarySink::FrameAt(std::size_t at) const {
  return ReadFrameSpan(format_, std::span<const std::uint8_t>(pending_).subspan(at));
}

// The first position from `from` on where a frame begins and another
// follows it; nothing when there is none, or when one may begin there but
// more bytes are needed to tell (`ending`: no more come, and a frame
// that ends the stream needs no other after it).
std::optional<std::size_t> ElementarySink::NextFrameAt(std::size_t from, bool ending) const {
  const std::uint8_t sync = SyncByte(format_);
  while (from < pending_.size()) {
    const void* hit = std::memchr(pending_.data() + from, sync, pending_.size() - from);
    if (hit == nullptr) return std::nullopt;
    const auto at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - pending_.data());
    if (at + kHeadBytes > pending_.size() && !ending) return std::nullopt;
    const std::optional<FrameSpan> head = FrameAt(at);
    if (head) {
      const std::size_t next = at + head->bytes;
      if (next + kHeadBytes > pending_.size()) {
        if (!ending) return std::nullopt;
        if (next <= pending_.size()) return at;
      } else if (FrameAt(next)) {
        return at;
      }
    }
    from = at + 1;
  }
  return std::nullopt;
}

bool ElementarySink::FindFirstFrame(bool ending) {
  const std::optional<std::size_t> at = NextFrameAt(0, ending);
  if (!at) {
    // Keep what a frame may still begin in.
    if (pending_.size() > kMaxHeldBack) Consume(pending_.size() - kMaxHeldBack);
    return false;
  }
  Consume(*at);
  synced_ = true;
  return true;
}

void ElementarySink::Walk(bool ending) {
  while (!pending_.empty()) {
    if (!synced_ && !FindFirstFrame(ending)) return;
    if (pending_.size() < kHeadBytes && !ending) return;
    if (const std::optional<FrameSpan> head = FrameAt(0)) {
      if (head->bytes > pending_.size()) return;
      WriteFrame(*head);
      continue;
    }
    // Lost: the bytes up to the next frame are written as the packets
    // carry them.
    const std::optional<std::size_t> next = NextFrameAt(1, ending);
    std::size_t kept = 0;
    if (next) {
      kept = *next;
      ++counts_.resyncs;
    } else if (pending_.size() > kMaxHeldBack) {
      kept = pending_.size() - kHeadBytes;
    }
    if (kept == 0) return;
    output_.Write(std::span<const std::uint8_t>(pending_).first(kept));
    Consume(kept);
  }
}

void ElementarySink::WriteFrame(const FrameSpan& head) {
  const std::uint64_t at = base_;
  // A stamp belongs to the first frame that begins at its unit or after it.
  while (!stamps_.empty() && stamps_.front().at <= at) {
    if (!any_frame_ || stamps_.front().at > last_frame_at_) times_.Stamp(stamps_.front().pts, ticks_);
    stamps_.pop_front();
  }
  output_.Write(std::span<const std::uint8_t>(pending_).first(head.bytes));
  ++counts_.frames;
  if (head.sample_rate_hz > 0) ticks_ += head.samples * kTicksPerSecond / head.sample_rate_hz;
  counts_.duration_s = ticks_ / kTicksPerSecond;
  last_frame_at_ = at;
  any_frame_ = true;
  Consume(head.bytes);
}

void ElementarySink::Consume(std::size_t bytes) {
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(bytes));
  base_ += bytes;
}

}  // namespace tonvika
