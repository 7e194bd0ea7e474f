#pragma once
// The one reader of a title set's IFO bytes: big-endian fields that report
// when they lie outside the file, and the audio attribute table that both
// the language codes and the declared streams are read from.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tonvika {

// The title set information (VTSI) header.
inline constexpr std::size_t kIfoAudioCountOffset = 0x202;  // 16 bits
inline constexpr std::size_t kIfoAudioTableOffset = 0x204;  // eight entries of eight bytes
inline constexpr std::size_t kIfoAudioEntrySize = 8;
inline constexpr std::size_t kIfoAudioEntryCount = 8;

// No information file is near this size; a larger one is read only this far.
inline constexpr std::size_t kMaxInformationFileSize = std::size_t{8} << 20;

using AudioAttributeEntry = std::array<std::uint8_t, kIfoAudioEntrySize>;
using AudioAttributeTable = std::array<AudioAttributeEntry, kIfoAudioEntryCount>;

class IfoBytes {
 public:
  explicit IfoBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Holds(std::size_t offset, std::size_t size) const {
    return offset <= bytes_.size() && size <= bytes_.size() - offset;
  }
  std::optional<std::uint16_t> U16(std::size_t offset) const {
    if (!Holds(offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>((bytes_[offset] << 8) | bytes_[offset + 1]);
  }
  std::optional<std::uint32_t> U32(std::size_t offset) const {
    if (!Holds(offset, 4)) return std::nullopt;
    return (std::uint32_t{bytes_[offset]} << 24) | (std::uint32_t{bytes_[offset + 1]} << 16) |
           (std::uint32_t{bytes_[offset + 2]} << 8) | bytes_[offset + 3];
  }

  // Whether audio entry k lies wholly inside the file.
  bool HoldsAudioEntry(std::size_t k) const {
    return Holds(kIfoAudioTableOffset + kIfoAudioEntrySize * k, kIfoAudioEntrySize);
  }

  // All eight entries; bytes past the end of the file read as zero.
  AudioAttributeTable AudioTable() const {
    AudioAttributeTable table{};
    for (std::size_t k = 0; k < kIfoAudioEntryCount; ++k) {
      const std::size_t at = kIfoAudioTableOffset + kIfoAudioEntrySize * k;
      if (at >= bytes_.size()) break;
      const std::size_t available = std::min(kIfoAudioEntrySize, bytes_.size() - at);
      std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at), available, table[k].begin());
    }
    return table;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace tonvika
