// Raw .ac3/.dts files of any content: the sync word search, the analysis
// of the first frame and the walk over every frame. The first input byte picks the kind (bit 0) and a small
// search block size (the other bits), so block boundaries fall everywhere;
// the rest is the file.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>

#include "analysis/analysis_run.h"
#include "io/read_only_file.h"
#include "io/sync_search.h"
#include "fuzz_file.h"

namespace {

constexpr std::array<std::uint8_t, 2> kAc3Sync = {0x0B, 0x77};
constexpr std::array<std::uint8_t, 4> kDtsSync = {0x7F, 0xFE, 0x80, 0x01};

// The search by blocks must agree with a search over the whole content.
void CheckSearch(const std::uint8_t* content, std::size_t size, const std::string& path,
                 std::span<const std::uint8_t> sync, std::size_t block_size) {
  const tonvika::ReadOnlyFile file(path);
  const std::optional<std::uint64_t> found = tonvika::FindSyncWord(file, sync, block_size);
  const std::uint8_t* match = std::search(content, content + size, sync.begin(), sync.end());
  const bool present = match != content + size;
  if (found.has_value() != present) std::abort();
  if (present && *found != static_cast<std::uint64_t>(match - content)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool dts = (data[0] & 1) != 0;
  const std::size_t block_size = (data[0] >> 1) + 1u;  // 1 to 128
  const std::uint8_t* content = data + 1;
  const std::size_t content_size = size - 1;

  auto& file = tonvika::fuzz::TheFuzzFile();
  file.Fill(content, content_size);
  const std::span<const std::uint8_t> sync =
      dts ? std::span<const std::uint8_t>(kDtsSync) : std::span<const std::uint8_t>(kAc3Sync);
  CheckSearch(content, content_size, file.Path(), sync, block_size);

  const tonvika::AnalysisReport report =
      tonvika::AnalyseElementaryFile(file.Path(), dts ? tonvika::TrackKind::Dts : tonvika::TrackKind::Ac3,
                                     tonvika::RunSettings{20, true});
  const bool changed = report.changed;
  // The walk's frames lie inside the file.
  if (changed) {
    const auto& walk = report.streams.at(0).walk;
    if (!walk || (walk->first_frame_at && *walk->first_frame_at >= content_size)) std::abort();
  }
  const bool has_sync =
      std::search(content, content + content_size, sync.begin(), sync.end()) !=
      content + content_size;
  if (changed != has_sync) std::abort();
  return 0;
}
