#pragma once
// The first block of every VOBU is its NAV pack; its data search information
// (DSI) says where the VOBU ends and, inside an interleaved block (the
// units of several angles taking turns), where this angle goes on.

#include <cstdint>
#include <optional>
#include <span>

namespace tonvika {

// What a NAV pack says of the way on. Addresses are in blocks, relative to
// the NAV pack itself.
struct VobuLinks {
  std::uint32_t vobu_end = 0;        // the VOBU's last block (VOBU_EA)
  bool interleaved_unit = false;     // the VOBU belongs to an interleaved unit (ILVU)
  bool unit_end = false;             // ... and is its last VOBU
  std::uint32_t next_unit = 0;       // the start of this angle's next unit (ILVU_SA); 0: none
};

// The links of a NAV pack: a pack header and system header, then the PCI
// and DSI packets of private stream 2 at their fixed places. Nothing when
// the block is not such a pack.
std::optional<VobuLinks> ReadVobuLinks(std::span<const std::uint8_t> block);

// Where angle 1 goes on after the VOBU whose NAV pack is at `at` (absolute
// block address): the next block, or at the end of an interleaved unit the
// start of its angle's next unit. Nothing when the links lead nowhere ahead
// (the last unit, or a damaged address that would go back).
std::optional<std::uint32_t> NextVobuOfAngle(std::uint32_t at, const VobuLinks& links);

}  // namespace tonvika
