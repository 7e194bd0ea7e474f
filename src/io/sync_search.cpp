#include "io/sync_search.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "io/read_only_file.h"

namespace tonvika {

namespace {

// The first place in [begin, end) where the whole of `sync` lies, or `end`.
// memchr finds the candidates for the first byte at memory speed.
const std::uint8_t* FindInBlock(const std::uint8_t* begin, const std::uint8_t* end,
                                std::span<const std::uint8_t> sync) {
  const std::size_t length = sync.size();
  for (const std::uint8_t* at = begin; static_cast<std::size_t>(end - at) >= length; ++at) {
    const std::size_t starts = static_cast<std::size_t>(end - at) - length + 1;
    at = static_cast<const std::uint8_t*>(std::memchr(at, sync[0], starts));
    if (at == nullptr) return end;
    if (std::memcmp(at, sync.data(), length) == 0) return at;
  }
  return end;
}

}  // namespace

std::optional<std::uint64_t> FindSyncWord(const ReadOnlyFile& file,
                                          std::span<const std::uint8_t> sync,
                                          std::size_t block_size) {
  if (sync.empty()) return 0;
  block_size = std::max<std::size_t>(block_size, 1);
  // Holes of a sparse file read as zero bytes, so a sync word without a zero
  // byte can neither lie in a hole nor reach across one: holes are skipped
  // instead of read, and a huge sparse file is searched in no time.
  const bool skip_holes = std::find(sync.begin(), sync.end(), 0) == sync.end();
  // The last sync.size() - 1 bytes of a block are kept in front of the next
  // one, so a sync word that straddles two blocks is still seen whole.
  const std::size_t carry = sync.size() - 1;
  std::vector<std::uint8_t> window(carry + block_size);
  std::size_t kept = 0;           // bytes carried over at the window's start
  std::uint64_t window_start = 0;  // file offset of window[0]

  for (;;) {
    if (skip_holes) {
      const std::uint64_t next = window_start + kept;
      const std::uint64_t data = file.DataOffsetFrom(next);
      if (data > next) {
        window_start = data;
        kept = 0;
      }
    }
    const std::size_t got =
        file.ReadAt(window_start + kept, std::span(window).subspan(kept, block_size));
    if (got == 0) return std::nullopt;
    const std::uint8_t* filled = window.data() + kept + got;
    const std::uint8_t* match = FindInBlock(window.data(), filled, sync);
    if (match != filled) return window_start + static_cast<std::uint64_t>(match - window.data());

    const std::size_t keep = std::min(carry, kept + got);
    std::memmove(window.data(), window.data() + kept + got - keep, keep);
    window_start += kept + got - keep;
    kept = keep;
  }
}

}  // namespace tonvika
