#include "dvd/nav_pack.h"

#include <array>
#include <limits>

namespace tonvika {

namespace {

// A NAV pack: pack header (14 bytes), system header (24), the PCI packet's
// start code at 38, the DSI packet's at 1024, its sub-stream byte at 1030
// and its data from 1031 on.
constexpr std::size_t kPciPacket = 38;
constexpr std::size_t kDsiPacket = 1024;
constexpr std::size_t kDsiSubStream = 1030;
constexpr std::size_t kDsi = 1031;
constexpr std::array<std::uint8_t, 4> kPackStart{0x00, 0x00, 0x01, 0xBA};
constexpr std::array<std::uint8_t, 4> kPrivateStream2{0x00, 0x00, 0x01, 0xBF};
constexpr std::uint8_t kDsiId = 0x01;

// In the DSI: the general information (VOBU_EA at 8), then the seamless
// playback information (category at 32, ILVU_EA at 34, ILVU_SA at 38).
constexpr std::size_t kVobuEnd = kDsi + 8;
constexpr std::size_t kCategory = kDsi + 32;
constexpr std::size_t kNextUnit = kDsi + 38;
constexpr std::size_t kNeeded = kNextUnit + 4;
constexpr std::uint16_t kInterleavedUnit = 0x4000;
constexpr std::uint16_t kUnitEnd = 0x1000;

bool StartsWith(std::span<const std::uint8_t> block, std::size_t at, std::span<const std::uint8_t> code) {
  for (std::size_t n = 0; n < code.size(); ++n) {
    if (block[at + n] != code[n]) return false;
  }
  return true;
}

std::uint32_t U32(std::span<const std::uint8_t> block, std::size_t at) {
  return (std::uint32_t{block[at]} << 24) | (std::uint32_t{block[at + 1]} << 16) | (std::uint32_t{block[at + 2]} << 8) |
         block[at + 3];
}

}  // namespace

std::optional<VobuLinks> ReadVobuLinks(std::span<const std::uint8_t> block) {
  if (block.size() < kNeeded || !StartsWith(block, 0, kPackStart) || !StartsWith(block, kPciPacket, kPrivateStream2) ||
      !StartsWith(block, kDsiPacket, kPrivateStream2) || block[kDsiSubStream] != kDsiId) {
    return std::nullopt;
  }
  const auto category = static_cast<std::uint16_t>((block[kCategory] << 8) | block[kCategory + 1]);
  VobuLinks links;
  links.vobu_end = U32(block, kVobuEnd);
  links.interleaved_unit = (category & kInterleavedUnit) != 0;
  links.unit_end = (category & kUnitEnd) != 0;
  links.next_unit = U32(block, kNextUnit);
  return links;
}

std::optional<std::uint32_t> NextVobuOfAngle(std::uint32_t at, const VobuLinks& links) {
  const std::uint64_t next = links.interleaved_unit && links.unit_end
                                 ? (links.next_unit == 0 ? 0 : std::uint64_t{at} + links.next_unit)
                                 : std::uint64_t{at} + links.vobu_end + 1;
  if (next <= std::uint64_t{at} + links.vobu_end || next > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  return static_cast<std::uint32_t>(next);
}

}  // namespace tonvika
