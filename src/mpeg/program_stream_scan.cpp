#include "mpeg/program_stream_scan.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "mpeg/start_code_search.h"
#include "mpeg/sync_trace.h"

namespace tonvika {

namespace {

// The walk stops 16 bytes before the end, so the fixed part of a packet
// header (start code to PES header data length) always lies in the window.
constexpr std::size_t kWalkMargin = 16;

// Offsets from the start code.
constexpr std::size_t kLengthOffset = 4;         // PES packet length, 16 bits
constexpr std::size_t kFlagsOffset = 6;          // first flags byte; searches start here
constexpr std::size_t kHeaderLengthOffset = 8;   // PES header data length
constexpr std::size_t kSubStreamOffset = 9;      // + header length
constexpr std::size_t kLpcmAttributeOffset = 14; // + header length

// Marker bits 10 of an MPEG-2 PES header, scrambling control 00.
constexpr std::uint8_t kFlagsMask = 0xF0;
constexpr std::uint8_t kMpeg2UnscrambledFlags = 0x80;
constexpr std::uint8_t kMarkerMask = 0xC0;
constexpr std::uint8_t kMpeg2Marker = 0x80;
constexpr std::uint8_t kScramblingMask = 0x30;

// AC-3: j < L - 19 keeps the fifteen bytes the analysis reads (Q + 4 to
// Q + 18) inside the packet; packets of 20 bytes or less are not searched.
constexpr std::size_t kAc3MinLength = 21;
constexpr std::size_t kAc3SearchShortfall = 19;
constexpr std::size_t kAc3BytesNeeded = 19;  // Q .. Q + 18
constexpr std::size_t kAc3FrameByte4 = 4;
constexpr std::uint8_t kAc3BitRateIndexLimit = 19;  // frmsizecod 38 and above is invalid
constexpr std::array<std::uint8_t, 2> kAc3SyncWord{0x0B, 0x77};

// DTS: j < L - 7; the header bytes handed over are Q + 4 to Q + 14.
constexpr std::size_t kDtsMinLength = 8;
constexpr std::size_t kDtsSearchShortfall = 7;
constexpr std::size_t kDtsBytesNeeded = 15;  // Q .. Q + 14
constexpr std::array<std::uint8_t, 4> kDtsSyncWord{0x7F, 0xFE, 0x80, 0x01};

constexpr int kStreamsPerKind = 8;  // the slot is the low three bits

// The fields of a private stream 1 packet that the scan uses.
struct Packet {
  std::size_t start = 0;          // P, the offset of the start code
  std::size_t length = 0;         // L
  std::uint8_t flags = 0;         // F
  std::size_t header_length = 0;  // H
  std::uint8_t sub_stream = 0;    // S
};

class Walk {
 public:
  Walk(std::uint8_t* buffer, std::size_t size, SyncTraces& traces, TrackPublisher& publisher,
       SubStreamLog& log)
      : buffer_(buffer), size_(size), traces_(traces), publisher_(publisher), log_(log) {}

  void Run() {
    if (size_ <= kWalkMargin) return;
    const std::size_t walk_end = size_ - kWalkMargin;
    std::size_t position = FindPrivateStreamStart(buffer_, 0, walk_end);
    while (position < walk_end) {
      const std::size_t length = ReadLength(position);
      ExaminePacket(position, length);
      // Whatever the packet held, the search goes on one byte after P + L,
      // reading the buffer as the analyses have left it.
      position = FindPrivateStreamStart(buffer_, position + length + 1, walk_end);
    }
  }

 private:
  std::size_t ReadLength(std::size_t start) const {
    return (std::size_t{buffer_[start + kLengthOffset]} << 8) | buffer_[start + kLengthOffset + 1];
  }

  // First position past the last Q whose `needed` bytes lie in the window.
  std::size_t WindowLimit(std::size_t needed) const {
    return size_ >= needed ? size_ - needed + 1 : 0;
  }

  void ExaminePacket(std::size_t start, std::size_t length) {
    Packet packet{start, length, buffer_[start + kFlagsOffset], buffer_[start + kHeaderLengthOffset]};
    const std::size_t sub_stream_at = start + kSubStreamOffset + packet.header_length;
    // A packet whose sub-stream number lies past the window is cut off by it.
    if (sub_stream_at >= size_) return;
    packet.sub_stream = buffer_[sub_stream_at];
    // Only an MPEG-2 PES header puts the sub-stream number there.
    if ((packet.flags & kMarkerMask) == kMpeg2Marker) {
      log_.Record(packet.sub_stream, start, (packet.flags & kScramblingMask) != 0);
    }
    if ((packet.flags & kFlagsMask) != kMpeg2UnscrambledFlags) return;
    const std::optional<TrackKind> kind = KindOfSubStream(packet.sub_stream);
    if (!kind) return;
    const int slot = packet.sub_stream % kStreamsPerKind;
    switch (*kind) {
      case TrackKind::Ac3: Ac3Step(packet, slot); break;
      case TrackKind::Dts: DtsStep(packet, slot); break;
      case TrackKind::Lpcm: LpcmStep(packet, slot); break;
    }
  }

  bool IsAc3Candidate(std::size_t q) const {
    return buffer_[q] == kAc3SyncWord[0] && buffer_[q + 1] == kAc3SyncWord[1] &&
           ((buffer_[q + kAc3FrameByte4] >> 1) & 0x1F) < kAc3BitRateIndexLimit;
  }

  // Next Q in [from, end) that could start a sync word, or `end`.
  std::size_t NextByte(std::size_t from, std::size_t end, std::uint8_t value) const {
    if (from >= end) return end;
    const void* hit = std::memchr(buffer_ + from, value, end - from);
    return hit == nullptr ? end : static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - buffer_);
  }

  // The agreement test runs at every Q, but its answer changes only when a
  // candidate is added, so the positions between candidates (no 0x0B there)
  // are skipped without changing the result.
  std::optional<std::size_t> FindAc3Confirmation(std::size_t first, std::size_t end, SyncTrace& trace) {
    std::size_t q = first;
    while (q < end) {
      if (IsAc3Candidate(q)) {
        AppendSyncCandidate(trace, q, buffer_[q + 4], buffer_[q + 5], buffer_[q + 6]);
      }
      if (LastTwoSyncsAgree(trace)) return q;
      q = NextByte(q + 1, end, kAc3SyncWord[0]);
    }
    return std::nullopt;
  }

  void Ac3Step(const Packet& packet, int slot) {
    if (packet.length < kAc3MinLength) return;
    const std::size_t first = packet.start + kFlagsOffset;
    const std::size_t end =
        std::min(first + packet.length - kAc3SearchShortfall, WindowLimit(kAc3BytesNeeded));
    const std::optional<std::size_t> q = FindAc3Confirmation(first, end, traces_[slot]);
    if (!q || !publisher_.IsSlotFree(slot)) return;
    TrackPublication publication{TrackKind::Ac3, slot};
    publication.buffer = buffer_;
    publication.frame_offset = *q + kAc3FrameByte4;
    publisher_.PublishTrack(publication);
  }

  bool IsDtsSyncWord(std::size_t q) const {
    return std::equal(kDtsSyncWord.begin(), kDtsSyncWord.end(), buffer_ + q);
  }

  std::optional<std::size_t> FindDtsSyncWord(std::size_t first, std::size_t end) const {
    for (std::size_t q = NextByte(first, end, kDtsSyncWord[0]); q < end;
         q = NextByte(q + 1, end, kDtsSyncWord[0])) {
      if (IsDtsSyncWord(q)) return q;
    }
    return std::nullopt;
  }

  void DtsStep(const Packet& packet, int slot) {
    if (packet.length < kDtsMinLength) return;
    const std::size_t first = packet.start + kFlagsOffset;
    const std::size_t end =
        std::min(first + packet.length - kDtsSearchShortfall, WindowLimit(kDtsBytesNeeded));
    const std::optional<std::size_t> q = FindDtsSyncWord(first, end);
    if (!q || !publisher_.IsSlotFree(slot)) return;
    TrackPublication publication{TrackKind::Dts, slot};
    const std::uint8_t* header = buffer_ + *q + kDtsSyncWord.size();
    std::copy(header, header + publication.dts_header.size(), publication.dts_header.begin());
    publisher_.PublishTrack(publication);
  }

  void LpcmStep(const Packet& packet, int slot) {
    const std::size_t attribute_at = packet.start + kLpcmAttributeOffset + packet.header_length;
    if (attribute_at >= size_ || !publisher_.IsSlotFree(slot)) return;
    TrackPublication publication{TrackKind::Lpcm, slot};
    publication.lpcm_attribute = buffer_[attribute_at];
    publisher_.PublishTrack(publication);
  }

  std::uint8_t* buffer_;
  std::size_t size_;
  SyncTraces& traces_;
  TrackPublisher& publisher_;
  SubStreamLog& log_;
};

}  // namespace

void ScanProgramStream(std::uint8_t* buffer, std::size_t size, SyncTraces& traces,
                       TrackPublisher& publisher, SubStreamLog& log) {
  Walk(buffer, size, traces, publisher, log).Run();
}

void ScanProgramStream(std::uint8_t* buffer, std::size_t size, SyncTraces& traces,
                       TrackPublisher& publisher) {
  SubStreamLog log;
  ScanProgramStream(buffer, size, traces, publisher, log);
}

}  // namespace tonvika
