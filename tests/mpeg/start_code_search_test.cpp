#include "mpeg/start_code_search.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

namespace tonvika {
namespace {

std::size_t NaiveFind(const std::vector<std::uint8_t>& b, std::size_t from, std::size_t end) {
  for (std::size_t p = from; p < end; ++p) {
    if (b[p] == 0x00 && b[p + 1] == 0x00 && b[p + 2] == 0x01 && b[p + 3] == 0xBD) return p;
  }
  return end;
}

TEST(StartCodeSearch, FindsTheSamePositionsAsAByteByByteSearch) {
  constexpr std::array<std::uint8_t, 6> kBytes{0x00, 0x00, 0x00, 0x01, 0xBD, 0xBA};
  int found = 0;
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> buffer(rng() % 300 + 3);
    for (auto& b : buffer) b = rng() % 8 == 0 ? static_cast<std::uint8_t>(rng()) : kBytes[rng() % kBytes.size()];
    const std::size_t limit = buffer.size() - 3;  // positions whose four bytes exist
    for (int k = 0; k < 20; ++k) {
      const std::size_t end = rng() % (limit + 1);
      const std::size_t from = rng() % (end + 2);
      const std::size_t expected = NaiveFind(buffer, from, end);
      EXPECT_EQ(FindPrivateStreamStart(buffer.data(), from, end), expected);
      found += expected < end;
    }
  }
  EXPECT_GT(found, 400);
}

TEST(StartCodeSearch, LastPositionCountsAndEndDoesNot) {
  std::vector<std::uint8_t> buffer(40, 0x00);
  buffer[22] = 0x01;
  buffer[23] = 0xBD;  // start code at 20
  EXPECT_EQ(FindPrivateStreamStart(buffer.data(), 0, 21), 20u);
  EXPECT_EQ(FindPrivateStreamStart(buffer.data(), 0, 20), 20u);  // not found: end
  EXPECT_EQ(FindPrivateStreamStart(buffer.data(), 20, 30), 20u);
  EXPECT_EQ(FindPrivateStreamStart(buffer.data(), 21, 30), 30u);
  EXPECT_EQ(FindPrivateStreamStart(buffer.data(), 25, 25), 25u);
}

TEST(StartCodeSearch, OtherStartCodesAreNotPrivateStreamOne) {
  for (const std::uint8_t id : {0xBA, 0xBB, 0xBE, 0xBF, 0xC0, 0xE0}) {
    const std::vector<std::uint8_t> buffer{0x00, 0x00, 0x01, id, 0x00, 0x00, 0x00};
    EXPECT_EQ(FindPrivateStreamStart(buffer.data(), 0, 4), 4u);
  }
  const std::vector<std::uint8_t> shifted_prefix{0x00, 0x01, 0x00, 0xBD, 0x00, 0x00, 0x00};
  EXPECT_EQ(FindPrivateStreamStart(shifted_prefix.data(), 0, 4), 4u);
}

}  // namespace
}  // namespace tonvika
