#include "analysis/frame_walk.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "analysis/stream_payload.h"
#include "codecs/lpcm.h"

namespace tonvika {

namespace {

constexpr double kPtsPerSecond = 90000.0;
constexpr double kLpcmFramesPerSecond = 600.0;
// LPCM's first access unit pointer counts from the byte after it, and the
// three attribute bytes come first: the payload piece starts after them.
constexpr std::size_t kLpcmAttributeBytes = 3;

constexpr std::size_t kLongestFrameHead = 32;  // more than any format's head reads
constexpr std::size_t kHeadCutBytes = 32;      // fewer bytes left: the window cut the next head

class Walker {
 public:
  Walker(FrameFormat format, const Payload& payload) : format_(format), payload_(payload) {}

  FrameWalk Run(std::size_t start) {
    std::size_t position = start;
    bool lost = false;
    while (true) {
      const std::optional<std::size_t> at = NextFrame(position);
      if (!at) break;
      if (*at != position && walk_.frames > 0) lost = true;
      const AudioFrameHead head = *Head(*at);  // the frame after it was read last
      if (*at + head.bytes > payload_.Size()) break;  // cut by the end of the window
      if (lost) {
        ++walk_.resyncs;
        lost = false;
      }
      Count(*at, head);
      position = *at + head.bytes;
    }
    return std::move(walk_);
  }

 private:
  // Each frame's head is asked for as the frame after the one before, then
  // as a frame, then to be counted: the last two answers are kept.
  const std::optional<AudioFrameHead>& Head(std::size_t at) const {
    for (const CachedHead& cached : cache_) {
      if (cached.at == at) return cached.head;
    }
    CachedHead& slot = cache_[next_slot_];
    next_slot_ ^= 1;
    slot.at = at;
    slot.head = ReadOrRepeat(at);
    return slot.head;
  }

  // A stream's frames mostly repeat their header bytes: those are decoded
  // once (a decode costs more than the CRC of a frame).
  std::optional<AudioFrameHead> ReadOrRepeat(std::size_t at) const {
    const std::span<const std::uint8_t> bytes = payload_.View(at, kLongestFrameHead, head_scratch_);
    if (last_decoded_ && SameFrameHead(format_, bytes, last_bytes_)) return last_decoded_;
    std::optional<AudioFrameHead> head = ReadFrameHead(format_, bytes);
    if (head) {
      last_decoded_ = head;
      last_bytes_.assign(bytes.begin(), bytes.end());
    }
    return head;
  }

  // Whether a frame at `at` of `size` bytes lies across a missing payload.
  bool CrossesGap(std::size_t at, std::size_t size) const {
    const std::vector<Segment>& segments = payload_.Segments();
    for (std::size_t index = payload_.SegmentIndex(at) + 1;
         index < segments.size() && segments[index].start < at + size; ++index) {
      if (segments[index].after_gap) return true;
    }
    return false;
  }

  // A frame counts where its header is valid and the next frame's header
  // follows at its size; one that the bytes end before or inside counts
  // as well (the walk stops at it when it is cut).
  bool IsFrame(std::size_t at) const {
    const std::optional<AudioFrameHead>& head = Head(at);
    if (!head) return false;
    const std::size_t next = at + head->bytes;
    if (next > payload_.Size()) return true;
    if (CrossesGap(at, head->bytes)) return false;
    if (next == payload_.Size()) return true;
    if (Head(next)) return true;
    // Too few bytes for the next header: the window ends there.
    return payload_.Size() - next < kHeadCutBytes;
  }

  std::optional<std::size_t> NextFrame(std::size_t from) const {
    const std::uint8_t sync = SyncByte(format_);
    for (std::size_t at = payload_.Find(sync, from); at < payload_.Size(); at = payload_.Find(sync, at + 1)) {
      if (IsFrame(at)) return at;
    }
    return std::nullopt;
  }

  // Its packet's PTS when it is the first frame to start in that packet;
  // else counted on from the last frame that had one.
  std::optional<std::uint64_t> PtsOf(std::size_t at) {
    const std::size_t index = payload_.SegmentIndex(at);
    const Segment& segment = payload_.Segments()[index];
    if (index != last_segment_ && segment.pts) {
      anchor_pts_ = segment.pts;
      anchor_time_s_ = walk_.duration_s;
    }
    last_segment_ = index;
    if (!anchor_pts_) return std::nullopt;
    return *anchor_pts_ + static_cast<std::uint64_t>((walk_.duration_s - anchor_time_s_) * kPtsPerSecond + 0.5);
  }

  void Count(std::size_t at, const AudioFrameHead& head) {
    const std::optional<std::uint64_t> pts = PtsOf(at);
    const DefiningFields fields = StreamDefiningFields(head.header);
    if (walk_.frames == 0) {
      walk_.first_header = head.header;
      walk_.first_frame_at = at;
    } else if (fields != last_fields_) {
      walk_.changes.push_back({walk_.frames, pts, walk_.duration_s, head.header});
    }
    last_fields_ = fields;
    if (const std::optional<bool> holds = FrameCrcHolds(head.header, payload_.View(at, head.bytes, frame_scratch_))) {
      walk_.crc_errors = walk_.crc_errors.value_or(0) + (*holds ? 0 : 1);
    }
    ++walk_.frames;
    walk_.duration_s += static_cast<double>(head.samples) / head.sample_rate_hz;
  }

  struct CachedHead {
    std::size_t at = static_cast<std::size_t>(-1);
    std::optional<AudioFrameHead> head;
  };

  FrameFormat format_;
  const Payload& payload_;
  FrameWalk walk_;
  DefiningFields last_fields_{};
  std::size_t last_segment_ = static_cast<std::size_t>(-1);
  std::optional<std::uint64_t> anchor_pts_;
  double anchor_time_s_ = 0;
  mutable std::array<CachedHead, 2> cache_;
  mutable std::size_t next_slot_ = 0;
  mutable std::optional<AudioFrameHead> last_decoded_;
  mutable std::vector<std::uint8_t> last_bytes_;
  mutable std::vector<std::uint8_t> head_scratch_;
  std::vector<std::uint8_t> frame_scratch_;
};

// The first access unit the stream's first packet points at; its start
// when it points at none.
std::size_t WalkStart(const Payload& payload) {
  if (payload.Segments().empty()) return 0;
  return payload.Segments().front().first_unit.value_or(0);
}

}  // namespace

std::optional<FrameFormat> FrameFormatOf(StreamKind kind) {
  switch (kind) {
    case StreamKind::Ac3: return FrameFormat::Ac3;
    case StreamKind::Dts: return FrameFormat::Dts;
    case StreamKind::MpegAudio: return FrameFormat::MpegAudio;
    case StreamKind::Lpcm:
    case StreamKind::MpegAudioExtension: return std::nullopt;
  }
  return std::nullopt;
}

FrameWalk WalkStreamFrames(const StreamSurveyEntry& entry, FrameFormat format, std::span<const std::uint8_t> window) {
  const Payload payload = PayloadOf(entry, window);
  return Walker(format, payload).Run(WalkStart(payload));
}

FrameWalk WalkRawFrames(FrameFormat format, std::span<const std::uint8_t> bytes) {
  const Payload payload(bytes, {Segment{0, 0, bytes.size(), std::nullopt, std::nullopt, false}});
  return Walker(format, payload).Run(0);
}

LpcmMeasure MeasureLpcm(const StreamSurveyEntry& entry) {
  LpcmMeasure measure;
  // The frames by the bytes the packets carry at the rate the attribute
  // byte gives (the frame count of the sub-stream header is not reliable).
  if (entry.lpcm_attribute) {
    const LpcmAttributes attributes = DecodeLpcmAttributes(*entry.lpcm_attribute);
    const auto rate = LpcmSampleRateHz(attributes);
    const auto bits = LpcmBitsPerSample(attributes);
    if (rate && bits) {
      std::size_t total = 0;
      for (const PayloadPiece& piece : entry.pieces) total += piece.length;
      const double bytes_per_second = *rate * (*bits / 8.0) * LpcmChannels(attributes);
      measure.walk.duration_s = total / bytes_per_second;
      measure.walk.frames = static_cast<std::uint32_t>(measure.walk.duration_s * kLpcmFramesPerSecond);
    }
  }
  // The bytes from the first stamped access unit to the last one, over the
  // time between their PTS; a missing payload in between spoils the count.
  std::optional<std::uint64_t> first_pts;
  std::size_t bytes = 0;
  std::size_t counted_to_last = 0;
  std::uint64_t last_pts = 0;
  for (const PayloadPiece& piece : entry.pieces) {
    if (piece.missing) return measure;
    const bool stamped = piece.pts && piece.first_access_unit > kLpcmAttributeBytes;
    const std::size_t unit = stamped ? piece.first_access_unit - 1u - kLpcmAttributeBytes : 0;
    if (stamped && !first_pts) {
      first_pts = piece.pts;
      bytes = piece.length - std::min(unit, piece.length);
      continue;
    }
    if (!first_pts) continue;
    if (stamped && *piece.pts > *first_pts) {
      counted_to_last = bytes + std::min(unit, piece.length);
      last_pts = *piece.pts;
    }
    bytes += piece.length;
  }
  if (first_pts && last_pts > *first_pts) {
    measure.bit_rate_kbps = counted_to_last * 8.0 / ((last_pts - *first_pts) / kPtsPerSecond) / 1000.0;
  }
  return measure;
}

}  // namespace tonvika
