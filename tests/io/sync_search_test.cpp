#include "io/sync_search.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "../support/scratch_dir.h"
#include "io/file_error.h"
#include "io/read_only_file.h"

namespace tonvika {
namespace {

using testing::ScratchDir;
using Bytes = std::vector<std::uint8_t>;

constexpr std::array<std::uint8_t, 2> kAc3Sync = {0x0B, 0x77};
constexpr std::array<std::uint8_t, 4> kDtsSync = {0x7F, 0xFE, 0x80, 0x01};

// Bytes that hold neither sync word nor any of their bytes.
Bytes Filler(std::size_t size) { return Bytes(size, 0x55); }

Bytes With(Bytes bytes, std::size_t at, std::span<const std::uint8_t> sync) {
  if (bytes.size() < at + sync.size()) bytes.resize(at + sync.size(), 0x55);
  std::copy(sync.begin(), sync.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
  return bytes;
}

std::optional<std::uint64_t> Find(const Bytes& content, std::span<const std::uint8_t> sync,
                                  std::size_t block_size = kSyncSearchBlockSize) {
  ScratchDir dir;
  const ReadOnlyFile file(dir.Write("stream.bin", content));
  return FindSyncWord(file, sync, block_size);
}

TEST(FindSyncWord, Ac3SyncAtTheStart) {
  EXPECT_EQ(Find(With(Filler(64), 0, kAc3Sync), kAc3Sync), 0u);
}

TEST(FindSyncWord, DtsSyncAfterOtherData) {
  EXPECT_EQ(Find(With(Filler(200), 100, kDtsSync), kDtsSync), 100u);
}

TEST(FindSyncWord, OddOffset) {
  EXPECT_EQ(Find(With(Filler(200), 101, kDtsSync), kDtsSync), 101u);
  EXPECT_EQ(Find(With(Filler(200), 37, kAc3Sync), kAc3Sync), 37u);
}

TEST(FindSyncWord, FirstOccurrenceWins) {
  const Bytes bytes = With(With(Filler(300), 250, kDtsSync), 120, kDtsSync);
  EXPECT_EQ(Find(bytes, kDtsSync), 120u);
}

TEST(FindSyncWord, SyncThatOverlapsItsOwnStart) {
  // 7F 7F FE 80 01: the first 7F starts no sync word, the second does.
  const Bytes bytes = {0x7F, 0x7F, 0xFE, 0x80, 0x01};
  EXPECT_EQ(Find(bytes, kDtsSync), 1u);
  EXPECT_EQ(Find(bytes, kDtsSync, 1), 1u);
  EXPECT_EQ(Find(Bytes{0x0B, 0x0B, 0x77}, kAc3Sync, 1), 1u);
}

TEST(FindSyncWord, SyncInTheLastBytesOfTheFile) {
  EXPECT_EQ(Find(With(Filler(1000), 998, kAc3Sync), kAc3Sync), 998u);
  EXPECT_EQ(Find(With(Filler(1000), 996, kDtsSync), kDtsSync), 996u);
  EXPECT_EQ(Find(Bytes(kAc3Sync.begin(), kAc3Sync.end()), kAc3Sync), 0u);
}

TEST(FindSyncWord, SyncCutOffByTheEndIsNotFound) {
  EXPECT_EQ(Find(Bytes{0x55, 0x7F, 0xFE, 0x80}, kDtsSync), std::nullopt);
  EXPECT_EQ(Find(Bytes{0x55, 0x0B}, kAc3Sync), std::nullopt);
}

TEST(FindSyncWord, ByteSwappedSyncWordsAreNotFound) {
  EXPECT_EQ(Find(Bytes{0x55, 0x77, 0x0B, 0x55, 0x77, 0x0B}, kAc3Sync), std::nullopt);
  EXPECT_EQ(Find(Bytes{0x55, 0xFE, 0x7F, 0x01, 0x80, 0x55}, kDtsSync), std::nullopt);
}

TEST(FindSyncWord, NoSyncWord) {
  EXPECT_EQ(Find(Filler(300000), kAc3Sync), std::nullopt);
  EXPECT_EQ(Find(Filler(300000), kDtsSync), std::nullopt);
}

TEST(FindSyncWord, EmptyFile) {
  EXPECT_EQ(Find(Bytes{}, kAc3Sync), std::nullopt);
  EXPECT_EQ(Find(Bytes{}, kDtsSync), std::nullopt);
}

// A sync word is found wherever it lies relative to the blocks read.
TEST(FindSyncWord, EveryPlaceAroundBlockBoundaries) {
  struct Setting {
    std::size_t block_size;
    std::size_t file_size;
  };
  constexpr Setting kSettings[] = {{1, 20}, {2, 20}, {3, 30}, {4, 40}, {5, 40}, {16, 80}};
  ScratchDir dir;
  for (const Setting& setting : kSettings) {
    for (const std::span<const std::uint8_t> sync :
         {std::span<const std::uint8_t>(kAc3Sync), std::span<const std::uint8_t>(kDtsSync)}) {
      for (std::size_t at = 0; at + sync.size() <= setting.file_size; ++at) {
        const ReadOnlyFile file(dir.Write("stream.bin", With(Filler(setting.file_size), at, sync)));
        EXPECT_EQ(FindSyncWord(file, sync, setting.block_size), at)
            << "block " << setting.block_size << ", sync of " << sync.size() << " at " << at;
      }
    }
  }
}

TEST(FindSyncWord, AcrossTheDefaultBlockBoundary) {
  ScratchDir dir;
  constexpr std::size_t kBoundary = kSyncSearchBlockSize;
  for (std::size_t at = kBoundary - 4; at <= kBoundary; ++at) {
    const ReadOnlyFile ac3(dir.Write("stream.ac3", With(Filler(2 * kBoundary), at, kAc3Sync)));
    EXPECT_EQ(FindSyncWord(ac3, kAc3Sync), at);
    const ReadOnlyFile dts(dir.Write("stream.dts", With(Filler(2 * kBoundary), at, kDtsSync)));
    EXPECT_EQ(FindSyncWord(dts, kDtsSync), at);
  }
}

// Against a plain in-memory search over data full of near misses.
TEST(FindSyncWord, AgreesWithAnInMemorySearch) {
  ScratchDir dir;
  std::uint32_t state = 7;
  const auto next = [&state] {
    state = state * 1103515245u + 12345u;
    return static_cast<std::uint8_t>(state >> 16);
  };
  constexpr std::array<std::uint8_t, 6> kAlphabet = {0x0B, 0x77, 0x7F, 0xFE, 0x80, 0x01};
  for (int round = 0; round < 200; ++round) {
    Bytes bytes(1 + next() % 200);
    for (auto& b : bytes) b = kAlphabet[next() % kAlphabet.size()];
    const ReadOnlyFile file(dir.Write("stream.bin", bytes));
    for (const std::span<const std::uint8_t> sync :
         {std::span<const std::uint8_t>(kAc3Sync), std::span<const std::uint8_t>(kDtsSync)}) {
      const auto expected_at = std::search(bytes.begin(), bytes.end(), sync.begin(), sync.end());
      const std::optional<std::uint64_t> expected =
          expected_at == bytes.end()
              ? std::nullopt
              : std::optional<std::uint64_t>(expected_at - bytes.begin());
      for (const std::size_t block : {std::size_t{1}, std::size_t{3}, std::size_t{7}, kSyncSearchBlockSize}) {
        EXPECT_EQ(FindSyncWord(file, sync, block), expected) << "round " << round << ", block " << block;
      }
    }
  }
}

}  // namespace
}  // namespace tonvika
