#include "codecs/crc16.h"

#include <array>

namespace tonvika {

namespace {

constexpr std::uint16_t kPolynomial = 0x8005;

constexpr std::uint16_t StepBit(std::uint16_t crc, bool bit) {
  const bool top = ((crc >> 15) & 1) != static_cast<unsigned>(bit);
  crc = static_cast<std::uint16_t>(crc << 1);
  return top ? static_cast<std::uint16_t>(crc ^ kPolynomial) : crc;
}

// Eight tables, so that each step takes eight bytes: every frame of every
// audio stream in the window goes through here. Table k gives a byte's
// remainder followed by k zero bytes.
constexpr std::size_t kSlices = 8;
using Tables = std::array<std::array<std::uint16_t, 256>, kSlices>;

constexpr Tables MakeTables() {
  Tables tables{};
  for (unsigned byte = 0; byte < 256; ++byte) {
    std::uint16_t crc = static_cast<std::uint16_t>(byte << 8);
    for (int bit = 0; bit < 8; ++bit) crc = StepBit(crc, false);
    tables[0][byte] = crc;
  }
  for (std::size_t k = 1; k < kSlices; ++k) {
    for (unsigned byte = 0; byte < 256; ++byte) {
      const std::uint16_t before = tables[k - 1][byte];
      tables[k][byte] = static_cast<std::uint16_t>((before << 8) ^ tables[0][before >> 8]);
    }
  }
  return tables;
}

constexpr Tables kTables = MakeTables();

}  // namespace

std::uint16_t Crc16(std::uint16_t crc, std::span<const std::uint8_t> bytes) {
  std::size_t i = 0;
  for (; i + kSlices <= bytes.size(); i += kSlices) {
    const std::uint8_t* b = bytes.data() + i;
    crc = static_cast<std::uint16_t>(kTables[7][(crc >> 8) ^ b[0]] ^ kTables[6][(crc & 0xFF) ^ b[1]] ^
                                     kTables[5][b[2]] ^ kTables[4][b[3]] ^ kTables[3][b[4]] ^ kTables[2][b[5]] ^
                                     kTables[1][b[6]] ^ kTables[0][b[7]]);
  }
  for (; i < bytes.size(); ++i) crc = static_cast<std::uint16_t>((crc << 8) ^ kTables[0][(crc >> 8) ^ bytes[i]]);
  return crc;
}

std::uint16_t Crc16Bits(std::uint16_t crc, std::uint8_t value, int bits) {
  for (int bit = 0; bit < bits; ++bit) crc = StepBit(crc, ((value >> (7 - bit)) & 1) != 0);
  return crc;
}

}  // namespace tonvika
