#include "mpeg/video_reference.h"

#include <cstring>

namespace tonvika {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t kPrefixLength = 3;  // 00 00 01 before a start code value

// Start code values of the video elementary stream.
constexpr std::uint8_t kPictureStart = 0x00;
constexpr std::uint8_t kSequenceHeader = 0xB3;
constexpr std::uint8_t kGroupStart = 0xB8;

// Sequence header: horizontal and vertical size fill bytes 0 to 2, the
// aspect ratio and frame_rate_code byte 3.
constexpr std::size_t kFrameRateByte = 3;
constexpr std::uint8_t kFrameRateMask = 0x0F;

// Group of pictures header: the 25-bit time_code fills bytes 0 to 2 and the
// top bit of byte 3; closed_gop is the next bit, then broken_link.
constexpr std::size_t kClosedGopByte = 3;
constexpr std::uint8_t kClosedGopMask = 0x40;

// Picture header: temporal_reference is its first ten bits.
constexpr std::size_t kTemporalReferenceBytes = 2;

// The offset of the value byte of the first start code whose prefix starts
// at `from` or later, or payload.size(). memchr finds the 01 of each prefix;
// the zeros before it are checked only there.
std::size_t NextStartCodeValue(Bytes payload, std::size_t from) {
  std::size_t at = from + kPrefixLength - 1;
  while (at + 1 < payload.size()) {
    const void* hit = std::memchr(payload.data() + at, 0x01, payload.size() - 1 - at);
    if (hit == nullptr) break;
    at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - payload.data());
    if (payload[at - 1] == 0x00 && payload[at - 2] == 0x00) return at + 1;
    ++at;
  }
  return payload.size();
}

int TemporalReference(Bytes body) { return (body[0] << 2) | (body[1] >> 6); }

}  // namespace

FirstPicture ReadFirstPicture(Bytes video_payload) {
  FirstPicture picture;
  for (std::size_t value = NextStartCodeValue(video_payload, 0); value < video_payload.size();
       value = NextStartCodeValue(video_payload, value + 1)) {
    const Bytes body = video_payload.subspan(value + 1);
    switch (video_payload[value]) {
      case kPictureStart:
        if (body.size() >= kTemporalReferenceBytes) picture.temporal_reference = TemporalReference(body);
        return picture;
      case kSequenceHeader:
        if (body.size() > kFrameRateByte) picture.frame_rate_code = body[kFrameRateByte] & kFrameRateMask;
        break;
      case kGroupStart:
        if (body.size() > kClosedGopByte) picture.closed_gop = (body[kClosedGopByte] & kClosedGopMask) != 0;
        break;
      default: break;
    }
  }
  return picture;
}

std::uint64_t ReferenceFromFirstPicture(std::uint64_t pts, const FirstPicture& picture) {
  // In an open GOP the pictures shown before the first one decoded need a
  // GOP the window lacks, so showing starts with that first picture.
  if (!picture.closed_gop || !picture.temporal_reference || !picture.frame_rate_code) return pts;
  const std::optional<std::uint64_t> shown_later =
      PicturesDurationTicks(*picture.temporal_reference, *picture.frame_rate_code);
  if (!shown_later) return pts;
  return pts > *shown_later ? pts - *shown_later : 0;
}

std::uint64_t VideoReferencePts(std::uint64_t pts, Bytes video_payload) {
  return ReferenceFromFirstPicture(pts, ReadFirstPicture(video_payload));
}

}  // namespace tonvika
