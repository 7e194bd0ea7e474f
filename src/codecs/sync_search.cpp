#include "codecs/sync_search.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "analysis/read_only_file.h"

namespace tonvika {

std::optional<std::uint64_t> FindSyncWord(const ReadOnlyFile& file,
                                          std::span<const std::uint8_t> sync,
                                          std::size_t block_size) {
  if (sync.empty()) return 0;
  block_size = std::max<std::size_t>(block_size, 1);
  // The last sync.size() - 1 bytes of a block are kept in front of the next
  // one, so a sync word that straddles two blocks is still seen whole.
  const std::size_t carry = sync.size() - 1;
  std::vector<std::uint8_t> window(carry + block_size);
  std::size_t kept = 0;           // bytes carried over at the window's start
  std::uint64_t window_start = 0;  // file offset of window[0]

  for (;;) {
    const std::size_t got =
        file.ReadAt(window_start + kept, std::span(window).subspan(kept, block_size));
    if (got == 0) return std::nullopt;
    const auto filled = window.begin() + static_cast<std::ptrdiff_t>(kept + got);
    const auto match = std::search(window.begin(), filled, sync.begin(), sync.end());
    if (match != filled) return window_start + static_cast<std::uint64_t>(match - window.begin());

    const std::size_t keep = std::min(carry, kept + got);
    std::memmove(window.data(), window.data() + kept + got - keep, keep);
    window_start += kept + got - keep;
    kept = keep;
  }
}

}  // namespace tonvika
