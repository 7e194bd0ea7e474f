#pragma once
// The destructive bit reader of the AC-3 analysis: a 15-byte window whose
// first fourteen bytes act as a shift register fed from the fifteenth.

#include <cstddef>
#include <cstdint>

namespace tonvika {

inline constexpr std::size_t kTakeBitsWindow = 15;

// Returns the top `width` bits (1 to 7) of buffer[offset] and shifts the
// window buffer[offset] .. buffer[offset + 14] left by `width` bits in place;
// buffer[offset + 14] is read, never written. The caller guarantees the
// fifteen bytes exist.
std::uint8_t TakeBits(std::uint8_t* buffer, std::size_t offset, int width);

}  // namespace tonvika
