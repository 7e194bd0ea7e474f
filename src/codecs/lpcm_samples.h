#pragma once
// DVD LPCM samples as a WAV file holds them.
//
// The stream carries big-endian words. 16-bit words are plainly interleaved.
// 20- and 24-bit words come in packs of four samples in stream order (two in
// mono): first the upper 16 bits of each, then the low bits, one byte per
// sample at 24 bits, one byte per two samples at 20 bits (the first sample in
// the high nibble). A pack spans sample periods when there are more than two
// channels. A stream is cut into groups that ffmpeg's decoder takes whole:
// one sample period at 16 bits; at 20 and 24 bits the fewest sample periods
// that fill whole packs, and four periods where that would take more than one
// and fewer than four (3, 5, 6 and 7 channels). Unpack turns out whole groups,
// so that what it leaves at the end of a stream is what ffmpeg leaves.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "codecs/lpcm.h"

namespace tonvika {

// Undoes DVD LPCM's packing into the little-endian samples a WAV file holds:
// 16-bit words stay 16-bit; 20- and 24-bit words become 24-bit (20-bit ones
// with their low four bits zero).
class LpcmUnpacker {
 public:
  explicit LpcmUnpacker(const LpcmAttributes& attributes);  // attributes with a known word length
  int OutputBitsPerSample() const;  // 16 or 24
  int Channels() const;
  int SampleRateHz() const;         // 48000 or 96000 (0 when reserved)
  std::size_t GroupBytes() const;   // packed bytes of one whole sample group
  // Appends the samples of every whole sample group in what was left over
  // from the last call followed by `packed` to `out`; the bytes of a
  // partial group wait for the next call.
  void Unpack(std::span<const std::uint8_t> packed, std::vector<std::uint8_t>& out);
  std::size_t Pending() const;      // bytes waiting

 private:
  // The largest group: four periods of seven 24-bit channels.
  static constexpr std::size_t kMaxGroupBytes = 4 * 7 * 3;

  void UnpackGroups(std::span<const std::uint8_t> groups, std::uint8_t* to) const;

  int bits_;
  int channels_;
  int sample_rate_hz_;
  std::size_t group_bytes_;
  std::size_t group_samples_;
  std::array<std::uint8_t, kMaxGroupBytes> pending_{};
  std::size_t pending_bytes_ = 0;
};

}  // namespace tonvika
