#include "codecs/crc16.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace tonvika {
namespace {

// The bit-by-bit definition: the table-driven form must agree with it at
// every length (the eight-byte steps and the byte tail).
std::uint16_t BitwiseCrc16(std::uint16_t crc, const std::vector<std::uint8_t>& bytes) {
  for (const std::uint8_t byte : bytes) crc = Crc16Bits(crc, byte, 8);
  return crc;
}

TEST(Crc16, AgreesWithTheBitwiseDefinitionAtEveryLength) {
  std::vector<std::uint8_t> bytes(40);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{0x5A});
  for (std::size_t length = 0; length <= bytes.size(); ++length) {
    const std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    for (const std::uint16_t start : {std::uint16_t{0}, std::uint16_t{0xFFFF}}) {
      EXPECT_EQ(Crc16(start, part), BitwiseCrc16(start, part)) << length;
    }
  }
  // The catalogued check value of CRC-16/UMTS (poly 0x8005, init 0, no reflection).
  const std::vector<std::uint8_t> digits = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(Crc16(0, digits), 0xFEE8);
}

}  // namespace
}  // namespace tonvika
