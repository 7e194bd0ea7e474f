#include "codecs/take_bits.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "bit_tools.h"

namespace tonvika {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(TakeBits, ShiftsTheExampleWindow) {
  Bytes window = {0xB5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x81, 0xC3};
  EXPECT_EQ(TakeBits(window.data(), 0, 3), 5);
  EXPECT_EQ(window, (Bytes{0xA8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x04, 0x0E, 0xC3}));
  EXPECT_EQ(TakeBits(window.data(), 0, 2), 2);
  EXPECT_EQ(window, (Bytes{0xA0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0x3B, 0xC3}));
}

TEST(TakeBits, ReturnsTopBitsForEveryWidth) {
  struct Case {
    int width;
    std::uint8_t expected;
  };
  // First byte 1011 0110.
  constexpr Case kCases[] = {{1, 0x1}, {2, 0x2}, {3, 0x5}, {4, 0xB},
                             {5, 0x16}, {6, 0x2D}, {7, 0x5B}};
  for (const auto& c : kCases) {
    Bytes window(15, 0xFF);
    window[0] = 0xB6;
    EXPECT_EQ(TakeBits(window.data(), 0, c.width), c.expected) << "width " << c.width;
  }
}

TEST(TakeBits, TouchesOnlyTheFourteenBytesFromTheOffset) {
  Bytes buffer(24);
  for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<std::uint8_t>(0x35 * i + 7);
  const Bytes before = buffer;
  constexpr std::size_t kOffset = 5;
  test::WindowModel model(before.data() + kOffset);
  EXPECT_EQ(TakeBits(buffer.data(), kOffset, 6), model.Take(6));
  for (std::size_t i = 0; i < kOffset; ++i) EXPECT_EQ(buffer[i], before[i]) << i;
  for (std::size_t i = kOffset + 14; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], before[i]) << i;
  const auto expected = model.Bytes();
  EXPECT_EQ(Bytes(buffer.begin() + kOffset, buffer.begin() + kOffset + 15), expected);
}

// Many takes of mixed widths agree with the bit-string model, value by value
// and byte by byte.
TEST(TakeBits, AgreesWithTheBitStringModel) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> width(1, 7);
  for (int round = 0; round < 50; ++round) {
    Bytes window(15);
    for (auto& b : window) b = static_cast<std::uint8_t>(byte(random));
    test::WindowModel model(window.data());
    for (int take = 0; take < 40; ++take) {
      const int n = width(random);
      ASSERT_EQ(TakeBits(window.data(), 0, n), model.Take(n)) << "round " << round;
      ASSERT_EQ(window, model.Bytes()) << "round " << round << " take " << take;
    }
  }
}

// After a first take of 2 bits, everything up to bit 114 of the window is
// returned as the stream holds it.
TEST(TakeBits, FirstHundredFourteenBitsAreExactAfterATwoBitTake) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> width(1, 7);
  for (int round = 0; round < 50; ++round) {
    Bytes stream(16);
    for (auto& b : stream) b = static_cast<std::uint8_t>(byte(random));
    std::string bits;
    for (auto b : stream) bits += test::ToBitString(b, 8);
    Bytes window(stream.begin(), stream.begin() + 15);
    std::size_t position = 0;
    int n = 2;
    while (position + n <= 114) {
      const unsigned expected = test::FromBitString(bits.substr(position, n));
      ASSERT_EQ(TakeBits(window.data(), 0, n), expected) << "bit " << position;
      position += n;
      n = width(random);
    }
  }
}

}  // namespace
}  // namespace tonvika
