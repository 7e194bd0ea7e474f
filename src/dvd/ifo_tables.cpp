#include "dvd/ifo_tables.h"

#include <algorithm>
#include <string_view>

#include "dvd/ifo_bytes.h"

namespace tonvika {

namespace {

constexpr std::string_view kVideoManagerIdentifier = "DVDVIDEO-VMG";
constexpr std::string_view kTitleSetIdentifier = "DVDVIDEO-VTS";
constexpr std::size_t kTitleTablePointer = 0xC4;        // VMGI: TT_SRPT's sector
constexpr std::size_t kPartOfTitleTablePointer = 0xC8;  // VTSI: VTS_PTT_SRPT's sector
constexpr std::size_t kLastByteOffset = 4;              // in either table's header
constexpr std::size_t kSectorSize = 2048;

}  // namespace

bool IsInformationFile(std::span<const std::uint8_t> bytes, int title_set) {
  const std::string_view identifier = title_set == 0 ? kVideoManagerIdentifier : kTitleSetIdentifier;
  return bytes.size() >= identifier.size() && std::equal(identifier.begin(), identifier.end(), bytes.begin());
}

bool TablesFitInFile(std::span<const std::uint8_t> bytes, int title_set) {
  const IfoBytes ifo(bytes);
  const std::optional<std::uint32_t> sector = ifo.U32(title_set == 0 ? kTitleTablePointer : kPartOfTitleTablePointer);
  if (!sector) return false;
  const std::uint64_t table = std::uint64_t{*sector} * kSectorSize;
  const std::optional<std::uint32_t> last_byte = table > bytes.size() ? std::nullopt : ifo.U32(table + kLastByteOffset);
  if (!last_byte) return false;
  // 0 leaves libdvdread to size the table by its entry count, a few kilobytes at most.
  return *last_byte == 0 || ifo.Holds(table, std::size_t{*last_byte} + 1);
}

}  // namespace tonvika
