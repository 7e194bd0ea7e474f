#pragma once
// The search for the first sync word of a raw elementary stream file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tonvika {

class ReadOnlyFile;

inline constexpr std::size_t kSyncSearchBlockSize = 64 * 1024;

// The offset of the first occurrence of `sync` (not empty) in the file, at any
// byte offset, or nothing when the file holds none. Reads the file from its
// start in blocks of `block_size` bytes and stops at the first match or at
// the end of the file. Holes of a sparse file are skipped, not read, when the
// sync word holds no zero byte.
std::optional<std::uint64_t> FindSyncWord(const ReadOnlyFile& file,
                                           std::span<const std::uint8_t> sync,
                                           std::size_t block_size = kSyncSearchBlockSize);

}  // namespace tonvika
