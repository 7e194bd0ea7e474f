#pragma once
// Shared pieces of the program-stream scan tests: a publisher that records
// what it is handed, a packet builder, and a plain byte-by-byte walk to
// compare the scan against.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "mpeg/program_stream_scan.h"

namespace tonvika::scan_test {

using Bytes = std::vector<std::uint8_t>;

// One publication as the test sees it: for AC-3 the fifteen bytes the
// analysis would read (taken before any rewriting), for DTS the eleven
// header bytes, for LPCM the attribute byte.
struct Recorded {
  TrackKind kind;
  int slot;
  bool same_buffer;  // AC-3: the scanned buffer itself was handed over
  std::size_t offset;
  Bytes bytes;
  bool operator==(const Recorded&) const = default;
};

inline const char* KindName(TrackKind kind) {
  switch (kind) {
    case TrackKind::Ac3: return "AC-3";
    case TrackKind::Dts: return "DTS";
    case TrackKind::Lpcm: return "LPCM";
  }
  return "?";
}

inline std::string Describe(const Recorded& r) {
  std::string text = std::string(KindName(r.kind)) + " slot " + std::to_string(r.slot) +
                     " offset " + std::to_string(r.offset) + " bytes";
  for (std::uint8_t b : r.bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02X", b);
    text += hex;
  }
  return text;
}

// Rewrites buffer[offset .. offset+13] as the AC-3 analysis may.
using Ac3Rewrite = std::function<void(std::uint8_t* buffer, std::size_t offset)>;

class RecordingPublisher : public TrackPublisher {
 public:
  RecordingPublisher(const std::uint8_t* scanned, bool take_slots = true)
      : scanned_(scanned), take_slots_(take_slots) {}

  void TakeSlot(int slot) { taken_[slot] = true; }
  void SetAc3Rewrite(Ac3Rewrite rewrite) { rewrite_ = std::move(rewrite); }

  bool IsSlotFree(int slot) const override { return !taken_.at(slot); }

  void PublishTrack(const TrackPublication& p) override {
    Recorded r{p.kind, p.slot, false, 0, {}};
    switch (p.kind) {
      case TrackKind::Ac3:
        r.same_buffer = p.buffer == scanned_;
        r.offset = p.frame_offset;
        r.bytes.assign(p.buffer + p.frame_offset, p.buffer + p.frame_offset + 15);
        if (rewrite_) rewrite_(p.buffer, p.frame_offset);
        break;
      case TrackKind::Dts:
        r.bytes.assign(p.dts_header.begin(), p.dts_header.end());
        break;
      case TrackKind::Lpcm:
        r.bytes = {p.lpcm_attribute};
        break;
    }
    if (take_slots_) taken_.at(p.slot) = true;
    published.push_back(std::move(r));
  }

  std::vector<Recorded> published;

 private:
  const std::uint8_t* scanned_;
  bool take_slots_;
  std::array<bool, 8> taken_{};
  Ac3Rewrite rewrite_;
};

// The destructive reading of the AC-3 analysis: the fifteen bytes from the
// offset are shifted left by `bits` in total, zeros coming in from the end;
// the fifteenth byte is never written.
inline void ShiftAc3Window(std::uint8_t* buffer, std::size_t offset, int bits) {
  std::array<std::uint8_t, 15> window{};
  for (int i = 0; i < 15; ++i) window[i] = buffer[offset + i];
  for (int out = 0; out < 14 * 8; ++out) {
    const int in = out + bits;
    const int bit = in < 15 * 8 ? (window[in / 8] >> (7 - in % 8)) & 1 : 0;
    std::uint8_t& target = buffer[offset + out / 8];
    const std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (out % 8));
    target = static_cast<std::uint8_t>(bit ? (target | mask) : (target & ~mask));
  }
}

// A private stream 1 packet: 00 00 01 BD, L, F, second flags byte, H, the
// H header bytes, the sub-stream number S and `body` (the rest of the
// sub-stream header and the payload). L counts from F to the end of body
// unless given.
struct PacketLayout {
  std::uint8_t flags = 0x81;
  std::uint8_t flags2 = 0x80;
  Bytes header{0x21, 0x00, 0x01, 0x00, 0x01};  // a PTS
  std::uint8_t sub_stream = 0x80;
  Bytes body;
  int length = -1;  // -1: computed
};

inline Bytes MakePacket(const PacketLayout& layout) {
  Bytes out{0x00, 0x00, 0x01, 0xBD, 0, 0, layout.flags, layout.flags2,
            static_cast<std::uint8_t>(layout.header.size())};
  out.insert(out.end(), layout.header.begin(), layout.header.end());
  out.push_back(layout.sub_stream);
  out.insert(out.end(), layout.body.begin(), layout.body.end());
  const int length = layout.length >= 0 ? layout.length : static_cast<int>(out.size() - 6);
  out[4] = static_cast<std::uint8_t>(length >> 8);
  out[5] = static_cast<std::uint8_t>(length & 0xFF);
  return out;
}

// The head of an AC-3 frame: sync word, CRC, bytes 4 to 6, then `tail`
// further bytes.
inline Bytes Ac3FrameHead(std::uint8_t b4, std::uint8_t b5, std::uint8_t b6, std::size_t tail = 16) {
  Bytes out{0x0B, 0x77, 0x12, 0x34, b4, b5, b6};
  for (std::size_t i = 0; i < tail; ++i) out.push_back(static_cast<std::uint8_t>(0x40 + i));
  return out;
}

inline Bytes DtsFrameHead() {
  return {0x7F, 0xFE, 0x80, 0x01, 0xFC, 0x3C, 0x3F, 0xE1, 0xD5, 0x60, 0x08, 0x80, 0x30, 0x7A, 0x44};
}

inline void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

// ----- The reference walk: the scan written out byte by byte. -----

struct ReferenceTrace {
  std::string text;
  std::vector<std::array<std::uint8_t, 3>> candidates;
};
using ReferenceTraces = std::array<ReferenceTrace, 8>;

inline bool ReferenceAgree(const ReferenceTrace& t) {
  const std::size_t c = t.candidates.size();
  if (c < 3) return false;
  const auto& a = t.candidates[c - 2];
  const auto& b = t.candidates[c - 1];
  return a[0] == b[0] && a[1] == b[1] && (a[2] >> 4) == (b[2] >> 4);
}

inline void ReferenceScan(std::uint8_t* B, std::size_t W, ReferenceTraces& traces,
                          TrackPublisher& publisher) {
  if (W <= 16) return;
  std::uint64_t P = 0;
  while (P < W - 16) {
    if (B[P] == 0x00 && B[P + 1] == 0x00 && B[P + 2] == 0x01 && B[P + 3] == 0xBD) {
      const std::uint64_t L = (B[P + 4] << 8) | B[P + 5];
      const std::uint8_t F = B[P + 6];
      const std::uint64_t H = B[P + 8];
      if (P + 9 + H <= W - 1) {
        const std::uint8_t S = B[P + 9 + H];
        const bool flags_ok = (F & 0xF0) == 0x80;
        if (S >= 0x80 && S <= 0x87 && flags_ok && L > 20) {
          const int n = S - 0x80;
          bool stopped = false;
          std::uint64_t stop_q = 0;
          for (std::uint64_t j = 0; j < L - 19; ++j) {
            const std::uint64_t Q = P + 6 + j;
            if (!(Q + 18 <= W - 1)) break;
            if (B[Q] == 0x0B && B[Q + 1] == 0x77 && ((B[Q + 4] >> 1) & 0x1F) < 19) {
              char entry[32];
              std::snprintf(entry, sizeof entry, "[%06llX %02X %02X %02X]",
                            static_cast<unsigned long long>(Q), B[Q + 4], B[Q + 5], B[Q + 6]);
              traces[n].text += entry;
              traces[n].candidates.push_back({B[Q + 4], B[Q + 5], B[Q + 6]});
            }
            if (ReferenceAgree(traces[n])) {
              stopped = true;
              stop_q = Q;
              break;
            }
          }
          if (stopped && publisher.IsSlotFree(n)) {
            TrackPublication p{TrackKind::Ac3, n};
            p.buffer = B;
            p.frame_offset = stop_q + 4;
            publisher.PublishTrack(p);
          }
        }
        if (S >= 0x88 && S <= 0x8F && flags_ok) {
          const int n = S - 0x88;
          bool found = false;
          std::uint64_t Q = 0;
          for (std::uint64_t j = 0; L > 7 && j < L - 7; ++j) {
            Q = P + 6 + j;
            if (!(Q + 14 <= W - 1)) break;
            if (B[Q] == 0x7F && B[Q + 1] == 0xFE && B[Q + 2] == 0x80 && B[Q + 3] == 0x01) {
              found = true;
              break;
            }
          }
          if (found && publisher.IsSlotFree(n)) {
            TrackPublication p{TrackKind::Dts, n};
            for (int k = 0; k < 11; ++k) p.dts_header[k] = B[Q + 4 + k];
            publisher.PublishTrack(p);
          }
        }
        if (S >= 0xA0 && S <= 0xA7 && flags_ok && P + 14 + H <= W - 1) {
          const int n = S - 0xA0;
          if (publisher.IsSlotFree(n)) {
            TrackPublication p{TrackKind::Lpcm, n};
            p.lpcm_attribute = B[P + 14 + H];
            publisher.PublishTrack(p);
          }
        }
      }
      P += L;
    }
    P += 1;
  }
}

}  // namespace tonvika::scan_test
