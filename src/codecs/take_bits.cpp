#include "codecs/take_bits.h"

#include <cassert>

namespace tonvika {

std::uint8_t TakeBits(std::uint8_t* buffer, std::size_t offset, int width) {
  assert(width >= 1 && width <= 7);
  std::uint8_t* window = buffer + offset;
  const unsigned mask = (0xFFu << (8 - width)) & 0xFFu;  // top `width` bits
  const auto result = static_cast<std::uint8_t>((window[0] & mask) >> (8 - width));
  // Ascending, so each byte takes its neighbour's top bits before the
  // neighbour itself moves; the last byte only feeds the register.
  for (std::size_t i = 0; i + 1 < kTakeBitsWindow; ++i) {
    const unsigned kept = (window[i] & ~mask & 0xFFu) << width;
    const unsigned fed = (window[i + 1] & mask) >> (8 - width);
    window[i] = static_cast<std::uint8_t>((kept | fed) & 0xFFu);
  }
  return result;
}

}  // namespace tonvika
