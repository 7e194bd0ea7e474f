#include "dvd/ifo_tables.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "dvd/ifo_bytes.h"

namespace tonvika {

namespace {

constexpr std::string_view kVideoManagerIdentifier = "DVDVIDEO-VMG";
constexpr std::string_view kTitleSetIdentifier = "DVDVIDEO-VTS";
constexpr std::size_t kTitleTablePointer = 0xC4;        // VMGI: TT_SRPT's sector
constexpr std::size_t kPartOfTitleTablePointer = 0xC8;  // VTSI: VTS_PTT_SRPT's sector
constexpr std::size_t kProgramChainTablePointer = 0xCC;  // VTSI: VTS_PGCIT's sector
constexpr std::size_t kLastByteOffset = 4;              // in either table's header
constexpr std::size_t kSectorSize = 2048;
constexpr std::size_t kTableHeaderSize = 8;
constexpr std::size_t kSearchPointerSize = 8;  // its last four bytes: the chain's start in the table
constexpr std::size_t kStartByteOffset = 4;

// A program chain as libdvdread reads it, by the offsets of its fields.
constexpr std::size_t kChainSize = 236;
constexpr std::size_t kProgramCountOffset = 2;
constexpr std::size_t kCommandTableOffset = 0xE4;
constexpr std::size_t kProgramMapOffset = 0xE6;
constexpr std::size_t kCellPlaybackOffset = 0xE8;
constexpr std::size_t kCellPositionOffset = 0xEA;
constexpr std::size_t kCommandTableHeaderSize = 8;
constexpr std::size_t kCommandSize = 8;
constexpr std::size_t kCellPlaybackSize = 24;
constexpr std::size_t kCellPositionSize = 4;

bool EndsInside(const IfoBytes& ifo, std::size_t pointer) {
  const std::optional<std::uint32_t> sector = ifo.U32(pointer);
  if (!sector) return false;
  const std::uint64_t at = std::uint64_t{*sector} * kSectorSize;
  const std::optional<std::uint32_t> last_byte =
      ifo.Holds(at, kTableHeaderSize) ? ifo.U32(at + kLastByteOffset) : std::nullopt;
  if (!last_byte) return false;
  // 0 leaves libdvdread to size the table by its entry count, a few kilobytes at most.
  return *last_byte == 0 || ifo.Holds(at, std::size_t{*last_byte} + 1);
}

// Whether each part of the chain at `chain` that libdvdread reads lies in
// the file: the chain, its command table, program map, cell playback and
// cell position tables. It reads offsets as 32-bit signed values.
bool ChainReads(const IfoBytes& ifo, std::uint32_t chain) {
  const auto holds = [&ifo](std::uint32_t at, std::size_t size) {
    return static_cast<std::int32_t>(at) >= 0 && ifo.Holds(at, size);
  };
  if (!holds(chain, kChainSize)) return false;
  const std::uint16_t counts = *ifo.U16(chain + kProgramCountOffset);  // programs, then cells, a byte each
  const std::size_t programs = counts >> 8;
  const std::size_t cells = counts & 0xFF;
  const std::uint16_t commands = *ifo.U16(chain + kCommandTableOffset);
  if (commands != 0) {
    const std::uint32_t at = chain + commands;
    if (!holds(at, kCommandTableHeaderSize)) return false;
    const std::size_t count = std::size_t{*ifo.U16(at)} + *ifo.U16(at + 2) + *ifo.U16(at + 4);
    if (!holds(at, kCommandTableHeaderSize + count * kCommandSize)) return false;
  }
  const std::pair<std::size_t, std::size_t> tables[] = {{kProgramMapOffset, programs},
                                                        {kCellPlaybackOffset, cells * kCellPlaybackSize},
                                                        {kCellPositionOffset, cells * kCellPositionSize}};
  return std::all_of(std::begin(tables), std::end(tables), [&](const auto& table) {
    const std::uint16_t offset = *ifo.U16(chain + table.first);
    return offset == 0 || table.second == 0 || holds(chain + offset, table.second);
  });
}

// libdvdread reads a chain once for every search pointer that names it, and
// dereferences the first pointer's chain for the others: when that chain
// cannot be read it is null.
bool SharedChainsRead(const IfoBytes& ifo) {
  const std::optional<std::uint32_t> sector = ifo.U32(kProgramChainTablePointer);
  if (!sector) return false;
  const std::uint64_t table = std::uint64_t{*sector} * kSectorSize;
  const std::optional<std::uint16_t> count = ifo.Holds(table, kTableHeaderSize) ? ifo.U16(table) : std::nullopt;
  if (!count) return false;
  std::vector<std::uint32_t> starts;
  for (std::size_t n = 0; n < *count; ++n) {
    const std::optional<std::uint32_t> start =
        ifo.U32(table + kTableHeaderSize + n * kSearchPointerSize + kStartByteOffset);
    if (!start) return true;  // libdvdread cannot read the pointers: it reads no chain
    starts.push_back(*start);
  }
  for (std::size_t n = 0; n < starts.size(); ++n) {
    const auto later = starts.begin() + static_cast<std::ptrdiff_t>(n) + 1;
    const bool shared = std::find(later, starts.end(), starts[n]) != starts.end();
    if (shared && !ChainReads(ifo, static_cast<std::uint32_t>(table) + starts[n])) return false;
  }
  return true;
}

}  // namespace

bool IsInformationFile(std::span<const std::uint8_t> bytes, int title_set) {
  const std::string_view identifier = title_set == 0 ? kVideoManagerIdentifier : kTitleSetIdentifier;
  return bytes.size() >= identifier.size() && std::equal(identifier.begin(), identifier.end(), bytes.begin());
}

bool TablesSafeToRead(std::span<const std::uint8_t> bytes, int title_set) {
  const IfoBytes ifo(bytes);
  if (title_set == 0) return EndsInside(ifo, kTitleTablePointer);
  return EndsInside(ifo, kPartOfTitleTablePointer) && SharedChainsRead(ifo);
}

}  // namespace tonvika
