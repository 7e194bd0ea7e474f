#pragma once
// Test tools for the AC-3 reader: a plain bit writer that builds frames from
// field values, and a bit-string model of the 15-byte shift window.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tonvika::test {

// Bits as a string of '0' and '1', most significant first.
inline std::string ToBitString(unsigned value, int width) {
  std::string bits;
  for (int i = width - 1; i >= 0; --i) bits += ((value >> i) & 1u) ? '1' : '0';
  return bits;
}

inline unsigned FromBitString(const std::string& bits) {
  unsigned value = 0;
  for (char c : bits) value = value * 2 + (c == '1' ? 1u : 0u);
  return value;
}

inline std::vector<std::uint8_t> PackBits(const std::string& bits) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i + 8 <= bits.size(); i += 8) {
    bytes.push_back(static_cast<std::uint8_t>(FromBitString(bits.substr(i, 8))));
  }
  return bytes;
}

class BitWriter {
 public:
  void Put(int width, unsigned value) { bits_ += ToBitString(value, width); }
  std::size_t BitCount() const { return bits_.size(); }
  // The bits written, padded with `pad` bits up to `size` bytes.
  std::vector<std::uint8_t> Bytes(std::size_t size, bool pad = false) const {
    std::string bits = bits_;
    bits.resize(size * 8, pad ? '1' : '0');
    return PackBits(bits);
  }

 private:
  std::string bits_;
};

// The window as the reader defines it: fourteen bytes shifting left, filled
// from the top bits of the fifteenth, which never moves.
class WindowModel {
 public:
  explicit WindowModel(const std::uint8_t* window) : last_(window[14]) {
    for (int i = 0; i < 14; ++i) register_ += ToBitString(window[i], 8);
  }
  unsigned Take(int width) {
    const unsigned value = FromBitString(register_.substr(0, width));
    register_.erase(0, width);
    register_ += ToBitString(last_, 8).substr(0, width);
    return value;
  }
  std::vector<std::uint8_t> Bytes() const {
    auto bytes = PackBits(register_);
    bytes.push_back(last_);
    return bytes;
  }

 private:
  std::string register_;
  std::uint8_t last_;
};

}  // namespace tonvika::test
