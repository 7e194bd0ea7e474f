// The sync word search over sparse files: holes read as zeros and are skipped.
#include <unistd.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../support/scratch_dir.h"
#include "io/read_only_file.h"
#include "io/sync_search.h"

namespace tonvika {
namespace {

using testing::ScratchDir;

constexpr std::array<std::uint8_t, 2> kAc3Sync = {0x0B, 0x77};
constexpr std::array<std::uint8_t, 4> kDtsSync = {0x7F, 0xFE, 0x80, 0x01};
constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

// A sparse file of `size` bytes holding `bytes` at each offset of `at`.
std::string SparseFile(const ScratchDir& dir, std::uint64_t size,
                       const std::vector<std::pair<std::uint64_t, std::vector<std::uint8_t>>>& at) {
  const std::string path = dir.Write("sparse.bin", std::string_view());
  {
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    for (const auto& [offset, bytes] : at) {
      file.seekp(static_cast<std::streamoff>(offset));
      file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
  }
  EXPECT_EQ(::truncate(path.c_str(), static_cast<off_t>(size)), 0);
  return path;
}

TEST(FindSyncWordInSparseFile, NothingButHoles) {
  ScratchDir dir;
  const ReadOnlyFile file(SparseFile(dir, 4 * kGiB, {}));
  EXPECT_EQ(FindSyncWord(file, kAc3Sync), std::nullopt);
  EXPECT_EQ(FindSyncWord(file, kDtsSync), std::nullopt);
}

// Data, a hole of gigabytes, then the sync word: the same offset a full read
// gives, also when the word straddles a block boundary after the hole.
TEST(FindSyncWordInSparseFile, SyncBehindAHole) {
  ScratchDir dir;
  const std::uint64_t far = 3 * kGiB + 65535;
  const ReadOnlyFile file(SparseFile(dir, 4 * kGiB, {{0, {0x55, 0x0B, 0x55, 0x7F, 0xFE}},
                                                     {far - 1, {0x0B, 0x7F, 0xFE, 0x80, 0x01, 0x0B, 0x77}}}));
  EXPECT_EQ(FindSyncWord(file, kDtsSync), far);
  EXPECT_EQ(FindSyncWord(file, kAc3Sync), far + 4);
  EXPECT_EQ(FindSyncWord(file, kDtsSync, 3), far);
}

// A sync word made of zeros lies in a hole like anywhere else: no skipping.
TEST(FindSyncWordInSparseFile, ZeroBytesAreFoundInAHole) {
  ScratchDir dir;
  const ReadOnlyFile file(SparseFile(dir, kGiB, {{0, {0x55, 0x55, 0x55}}}));
  constexpr std::array<std::uint8_t, 2> kZeros = {0x00, 0x00};
  constexpr std::array<std::uint8_t, 2> kEndOfDataThenZero = {0x55, 0x00};
  EXPECT_EQ(FindSyncWord(file, kZeros), 3u);
  EXPECT_EQ(FindSyncWord(file, kEndOfDataThenZero), 2u);
}

TEST(ReadOnlyFileDataOffset, SkipsHolesOnly) {
  ScratchDir dir;
  const ReadOnlyFile file(SparseFile(dir, 2 * kGiB, {{0, {1, 2, 3}}}));
  EXPECT_EQ(file.DataOffsetFrom(0), 0u);
  EXPECT_EQ(file.DataOffsetFrom(2), 2u);
  // Past the data: a hole to the end (or, without support, the offset).
  const std::uint64_t after = file.DataOffsetFrom(kGiB);
  EXPECT_TRUE(after == 2 * kGiB || after == kGiB) << after;
  EXPECT_EQ(file.DataOffsetFrom(3 * kGiB), 3 * kGiB);
}

}  // namespace
}  // namespace tonvika
