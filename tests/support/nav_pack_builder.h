#pragma once
// Synthetic NAV packs: the pack header, system header and the two private
// stream 2 packets at their places, with the DSI fields a reader follows.

#include <array>
#include <cstdint>
#include <vector>

namespace tonvika::testing {

struct NavFields {
  std::uint32_t vobu_end = 0;   // VOBU_EA
  std::uint16_t category = 0;   // 0x4000 interleaved unit, 0x1000 its end
  std::uint32_t next_unit = 0;  // ILVU_SA
};

inline void PutU32(std::vector<std::uint8_t>& block, std::size_t at, std::uint32_t value) {
  for (int n = 0; n < 4; ++n) block[at + n] = static_cast<std::uint8_t>(value >> (24 - 8 * n));
}

inline std::vector<std::uint8_t> NavPack(const NavFields& fields) {
  std::vector<std::uint8_t> block(2048);
  const std::array<std::uint8_t, 4> pack{0x00, 0x00, 0x01, 0xBA};
  const std::array<std::uint8_t, 4> private2{0x00, 0x00, 0x01, 0xBF};
  std::copy(pack.begin(), pack.end(), block.begin());
  std::copy(private2.begin(), private2.end(), block.begin() + 38);
  std::copy(private2.begin(), private2.end(), block.begin() + 1024);
  block[1030] = 0x01;  // the DSI
  PutU32(block, 1031 + 8, fields.vobu_end);
  block[1031 + 32] = static_cast<std::uint8_t>(fields.category >> 8);
  block[1031 + 33] = static_cast<std::uint8_t>(fields.category);
  PutU32(block, 1031 + 38, fields.next_unit);
  return block;
}

}  // namespace tonvika::testing
