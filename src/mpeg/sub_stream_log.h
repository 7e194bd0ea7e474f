#pragma once
// Every private stream 1 sub-stream the scan meets in the read window, with
// its first packet and packet counts. Filled by the scan at O(1) per packet;
// it changes nothing of what the scan publishes.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "mpeg/track_kind.h"

namespace tonvika {

// The kind of an audio sub-stream number: 0x80-0x87 AC-3, 0x88-0x8F DTS,
// 0xA0-0xA7 LPCM; nothing for any other number (sub-pictures and the rest).
constexpr std::optional<TrackKind> KindOfSubStream(std::uint8_t sub_stream) {
  constexpr int kStreamsPerKind = 8;
  for (const TrackKind kind : {TrackKind::Ac3, TrackKind::Dts, TrackKind::Lpcm}) {
    const int base = SubStreamBase(kind);
    if (sub_stream >= base && sub_stream < base + kStreamsPerKind) return kind;
  }
  return std::nullopt;
}

struct SubStreamRecord {
  std::size_t first_offset = 0;  // start code of the first packet met
  std::uint32_t packets = 0;     // packets met, scrambled ones included
  std::uint32_t scrambled = 0;   // packets skipped for their scrambling bits
  std::uint32_t scrambled_run = 0;          // scrambled packets in a row up to the last one met
  std::uint32_t longest_scrambled_run = 0;  // the most in a row
};

class SubStreamLog {
 public:
  static constexpr int kSubStreams = 256;

  void Record(std::uint8_t sub_stream, std::size_t offset, bool scrambled) {
    SubStreamRecord& record = records_[sub_stream];
    if (record.packets == 0) record.first_offset = offset;
    ++record.packets;
    record.scrambled_run = scrambled ? record.scrambled_run + 1 : 0;
    record.longest_scrambled_run = std::max(record.longest_scrambled_run, record.scrambled_run);
    if (scrambled) ++record.scrambled;
  }

  const SubStreamRecord& operator[](int sub_stream) const { return records_.at(static_cast<std::size_t>(sub_stream)); }
  bool Met(int sub_stream) const { return (*this)[sub_stream].packets != 0; }

 private:
  std::array<SubStreamRecord, kSubStreams> records_{};
};

}  // namespace tonvika
