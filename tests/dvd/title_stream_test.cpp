#include "dvd/title_stream.h"

#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <set>
#include <vector>

#include "support/nav_pack_builder.h"

namespace tonvika {
namespace {

using testing::NavFields;
using testing::NavPack;
using Addresses = std::vector<std::uint32_t>;

constexpr std::size_t kStamp = 2044;  // past every field a NAV pack's reader looks at

// Blocks in memory, each stamped with its address; NAV packs where given,
// and blocks that cannot be read.
class MemoryBlocks final : public BlockSource {
 public:
  MemoryBlocks(std::uint32_t count, std::map<std::uint32_t, NavFields> navs = {}, std::set<std::uint32_t> bad = {})
      : count_(count), navs_(std::move(navs)), bad_(std::move(bad)) {}

  std::uint32_t Blocks() override { return count_; }
  std::size_t Read(std::uint32_t first, std::span<std::uint8_t> out) override {
    std::size_t done = 0;
    for (; done < out.size() / kDvdBlockSize; ++done) {
      const std::uint32_t at = first + static_cast<std::uint32_t>(done);
      if (at >= count_ || bad_.count(at) != 0) break;
      std::vector<std::uint8_t> block = navs_.count(at) != 0 ? NavPack(navs_.at(at)) : std::vector<std::uint8_t>(2048);
      testing::PutU32(block, kStamp, at);
      std::copy(block.begin(), block.end(), out.begin() + static_cast<std::ptrdiff_t>(done * kDvdBlockSize));
    }
    return done * kDvdBlockSize;
  }

 private:
  std::uint32_t count_;
  std::map<std::uint32_t, NavFields> navs_;
  std::set<std::uint32_t> bad_;
};

Addresses Range(std::uint32_t first, std::uint32_t last) {
  Addresses addresses(last - first + 1);
  std::iota(addresses.begin(), addresses.end(), first);
  return addresses;
}

Addresses Join(std::initializer_list<Addresses> parts) {
  Addresses all;
  for (const Addresses& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The addresses of the blocks the stream delivers, read `chunk` blocks at a time.
Addresses ReadAll(BlockSource& blocks, const std::vector<CellBlocks>& cells, std::size_t chunk) {
  TitleStream stream(blocks, cells);
  Addresses read;
  std::vector<std::uint8_t> buffer(chunk * kDvdBlockSize);
  for (;;) {
    const std::size_t got = stream.Read(buffer) / kDvdBlockSize;
    for (std::size_t n = 0; n < got; ++n) {
      const std::uint8_t* stamp = buffer.data() + n * kDvdBlockSize + kStamp;
      read.push_back((std::uint32_t{stamp[0]} << 24) | (stamp[1] << 16) | (stamp[2] << 8) | stamp[3]);
    }
    if (got < chunk) return read;
  }
}

// Angle 1 of a block of two angles, units of five blocks taking turns from
// block 100: its units at 100, 110 and 120, angle 2's at 105, 115 and 125.
const std::map<std::uint32_t, NavFields> kAngleBlock{
    {100, {2, 0x6000, 0}},   // first VOBU of a unit
    {103, {1, 0x5000, 7}},   // its last: on to 110
    {110, {4, 0x7000, 10}},  // a unit of one VOBU: on to 120
    {120, {4, 0x5000, 0}},   // the angle's last unit
};
const std::vector<CellBlocks> kCells{{0, 2, false}, {100, 124, true}, {200, 201, false}};

TEST(TitleStream, CellsInPlaybackOrderAngleOneThroughItsNavPacks) {
  MemoryBlocks blocks(300, kAngleBlock);
  const Addresses expected = Join({Range(0, 2), Range(100, 104), Range(110, 114), Range(120, 124), Range(200, 201)});
  for (const std::size_t chunk : {1, 2, 3, 7, 64}) EXPECT_EQ(ReadAll(blocks, kCells, chunk), expected) << chunk;
  // Stored order is no playback order.
  EXPECT_EQ(ReadAll(blocks, {{200, 201, false}, {0, 2, false}}, 4), Join({Range(200, 201), Range(0, 2)}));
  EXPECT_EQ(TitleStream(blocks, kCells).Bytes(), (3 + 25 + 2) * kDvdBlockSize);
}

TEST(TitleStream, CellsPastTheVobsEndAreCutThere) {
  MemoryBlocks blocks(120, kAngleBlock);
  EXPECT_EQ(ReadAll(blocks, kCells, 5), Join({Range(0, 2), Range(100, 104), Range(110, 114)}));
  EXPECT_EQ(TitleStream(blocks, kCells).Bytes(), (3 + 20) * kDvdBlockSize);
}

TEST(TitleStream, WithoutANavPackTheRestOfTheCellIsReadAsStored) {
  std::map<std::uint32_t, NavFields> navs = kAngleBlock;
  navs.erase(103);
  MemoryBlocks blocks(300, navs);
  EXPECT_EQ(ReadAll(blocks, kCells, 8), Join({Range(0, 2), Range(100, 124), Range(200, 201)}));
}

TEST(TitleStream, AReadErrorEndsTheStream) {
  for (const std::uint32_t bad : {1u, 110u, 112u, 201u}) {
    MemoryBlocks blocks(300, kAngleBlock, {bad});
    const Addresses whole = Join({Range(0, 2), Range(100, 104), Range(110, 114), Range(120, 124), Range(200, 201)});
    const Addresses before(whole.begin(), std::find(whole.begin(), whole.end(), bad));
    TitleStream stream(blocks, kCells);
    std::vector<std::uint8_t> buffer(64 * kDvdBlockSize);
    EXPECT_EQ(stream.Read(buffer), before.size() * kDvdBlockSize) << bad;
    EXPECT_EQ(stream.Read(buffer), 0u) << "nothing after the failure";
  }
}

// An extraction passes over what cannot be read and goes on after it: a
// run of bad blocks, a NAV pack among them (its unit is then read on as
// stored), the title's last blocks.
TEST(TitleStream, UnreadableBlocksArePassedOver) {
  struct Case {
    std::set<std::uint32_t> bad;
    Addresses expected;
    std::uint64_t skipped;
  };
  const Case cases[] = {
      {{1, 2}, Join({Range(0, 0), Range(100, 104), Range(110, 114), Range(120, 124), Range(200, 201)}), 2},
      {{110}, Join({Range(0, 2), Range(100, 104), Range(111, 124), Range(200, 201)}), 1},
      {{201}, Join({Range(0, 2), Range(100, 104), Range(110, 114), Range(120, 124), Range(200, 200)}), 1},
  };
  for (const Case& c : cases) {
    MemoryBlocks blocks(300, kAngleBlock, c.bad);
    TitleStream stream(blocks, kCells);
    std::vector<std::uint8_t> buffer(4 * kDvdBlockSize);
    Addresses read;
    std::uint64_t skipped = 0;
    for (;;) {
      if (stream.Stopped()) skipped += stream.SkipUnreadable();
      const std::size_t got = stream.Read(buffer) / kDvdBlockSize;
      for (std::size_t n = 0; n < got; ++n) {
        const std::uint8_t* stamp = buffer.data() + n * kDvdBlockSize + kStamp;
        read.push_back((std::uint32_t{stamp[0]} << 24) | (stamp[1] << 16) | (stamp[2] << 8) | stamp[3]);
      }
      if (got == 0 && !stream.Stopped()) break;
    }
    EXPECT_EQ(read, c.expected) << *c.bad.begin();
    EXPECT_EQ(skipped, c.skipped) << *c.bad.begin();
  }
}

TEST(TitleStream, OnlyWholeBlocksAreDelivered) {
  MemoryBlocks blocks(300, kAngleBlock);
  TitleStream stream(blocks, kCells);
  std::vector<std::uint8_t> buffer(kDvdBlockSize + 100, 0xEE);
  EXPECT_EQ(stream.Read(buffer), kDvdBlockSize);
  EXPECT_EQ(buffer.back(), 0xEE);
  EXPECT_EQ(stream.Read(std::span(buffer).first(100)), 0u);
  EXPECT_EQ(TitleStream(blocks, {}).Read(buffer), 0u);
}

}  // namespace
}  // namespace tonvika
