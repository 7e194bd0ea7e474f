// An information file's tables are vetted before libdvdread reads them: a
// header that claims more than the file holds would have it reserve that much.
#include "dvd/ifo_tables.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tonvika {
namespace {

const std::string kVideoTs = std::string(TONVIKA_FIXTURES) + "/disc/three_title_sets/VIDEO_TS";

std::vector<std::uint8_t> Bytes(const std::string& name) {
  std::ifstream in(kVideoTs + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t TableAt(const std::vector<std::uint8_t>& ifo, std::size_t pointer) {
  return (std::size_t{ifo[pointer]} << 24 | std::size_t{ifo[pointer + 1]} << 16 | std::size_t{ifo[pointer + 2]} << 8 |
          ifo[pointer + 3]) * 2048;
}

void SetLastByte(std::vector<std::uint8_t>& ifo, std::size_t table, std::uint32_t last_byte) {
  for (int k = 0; k < 4; ++k) ifo[table + 4 + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(last_byte >> (24 - 8 * k));
}

TEST(IfoTables, TheIdentifierTellsTheManagerFromATitleSet) {
  EXPECT_TRUE(IsInformationFile(Bytes("VIDEO_TS.IFO"), 0));
  EXPECT_FALSE(IsInformationFile(Bytes("VIDEO_TS.IFO"), 1));
  EXPECT_TRUE(IsInformationFile(Bytes("VTS_02_0.BUP"), 2));
  EXPECT_FALSE(IsInformationFile(Bytes("VTS_02_0.IFO"), 0));
  EXPECT_FALSE(IsInformationFile(std::vector<std::uint8_t>{'D', 'V', 'D'}, 2));
}

// The title table of VIDEO_TS.IFO (pointer at 0xC4), the part-of-title table
// of a title set's (0xC8): as written, with a last byte of 0 (sized by its
// entries), claiming one byte too many, claiming 3 GB, and cut off.
TEST(IfoTables, ATableMustEndInsideItsFile) {
  for (const auto& [name, title_set, pointer] :
       {std::tuple{"VIDEO_TS.IFO", 0, std::size_t{0xC4}}, std::tuple{"VTS_01_0.IFO", 1, std::size_t{0xC8}}}) {
    const std::vector<std::uint8_t> sound = Bytes(name);
    const std::size_t table = TableAt(sound, pointer);
    EXPECT_TRUE(TablesSafeToRead(sound, title_set)) << name;
    std::vector<std::uint8_t> ifo = sound;
    SetLastByte(ifo, table, 0);
    EXPECT_TRUE(TablesSafeToRead(ifo, title_set)) << name;
    SetLastByte(ifo, table, static_cast<std::uint32_t>(sound.size() - table));
    EXPECT_FALSE(TablesSafeToRead(ifo, title_set)) << name;
    SetLastByte(ifo, table, static_cast<std::uint32_t>(sound.size() - table - 1));
    EXPECT_TRUE(TablesSafeToRead(ifo, title_set)) << name;
    SetLastByte(ifo, table, 0xAFFFFFFF);
    EXPECT_FALSE(TablesSafeToRead(ifo, title_set)) << name;
    EXPECT_FALSE(TablesSafeToRead(std::span(sound).first(table + 4), title_set)) << name;
    EXPECT_FALSE(TablesSafeToRead(std::span(sound).first(0xC4), title_set)) << name;
  }
}

// libdvdread reads a chain that two search pointers name once, and for the
// second takes the first's, null when it could not read it: such a table is
// refused. Chains it cannot read are no danger when no other pointer names them.
TEST(IfoTables, AChainNamedTwiceMustBeReadable) {
  const std::vector<std::uint8_t> sound = Bytes("VTS_01_0.IFO");
  const std::size_t table = TableAt(sound, 0xCC);
  const auto with_pointers = [&](std::uint16_t count, std::uint32_t first, std::uint32_t second) {
    std::vector<std::uint8_t> ifo = sound;
    ifo[table] = static_cast<std::uint8_t>(count >> 8);
    ifo[table + 1] = static_cast<std::uint8_t>(count);
    for (const auto& [at, start] : {std::pair{table + 12, first}, std::pair{table + 20, second}}) {
      for (int k = 0; k < 4; ++k) ifo[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(start >> (24 - 8 * k));
    }
    return ifo;
  };
  const std::uint32_t outside = 0x00F00000;
  const std::uint32_t first_chain = sound[table + 12] << 24 | sound[table + 13] << 16 | sound[table + 14] << 8 | sound[table + 15];
  const struct {
    std::uint16_t count;
    std::uint32_t first;
    std::uint32_t second;
    bool safe;
  } cases[] = {
      {2, outside, outside, false},          // the crash a fuzzed image gave
      {2, outside, outside + 8, true},       // two chains it cannot read, each named once
      {2, first_chain, first_chain, true},   // one readable chain named twice
      {3, 0x7FFFFFF0, 0x7FFFFFF0, false},    // past the end, and past 31 bits with the table's offset
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TablesSafeToRead(with_pointers(c.count, c.first, c.second), 1), c.safe)
        << c.count << " " << std::hex << c.first << " " << c.second;
  }
  // A chain named twice whose cell playback table runs past the end.
  std::vector<std::uint8_t> cut = with_pointers(2, first_chain, first_chain);
  const std::size_t chain = table + first_chain;
  cut.resize(chain + (std::size_t{cut[chain + 0xE8]} << 8 | cut[chain + 0xE9]) + 1);
  EXPECT_FALSE(TablesSafeToRead(cut, 1));
}

}  // namespace
}  // namespace tonvika
