#pragma once
// CRC-16 with the polynomial x^16 + x^15 + x^2 + 1 (0x8005), most significant
// bit first and unreflected: the check words of AC-3 and MPEG audio frames.

#include <cstddef>
#include <cstdint>
#include <span>

namespace tonvika {

// `crc` carried on over whole bytes.
std::uint16_t Crc16(std::uint16_t crc, std::span<const std::uint8_t> bytes);

// `crc` carried on over the top `bits` bits of `value` (at most 8).
std::uint16_t Crc16Bits(std::uint16_t crc, std::uint8_t value, int bits);

}  // namespace tonvika
