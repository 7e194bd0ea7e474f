#include "io/read_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace tonvika {
namespace {

TEST(ReadWindow, ZeroFilledWritableAndAligned) {
  for (const std::size_t size : {std::size_t{1}, std::size_t{4097}, std::size_t{(2u << 20) + 3}, std::size_t{20u << 20}}) {
    ReadWindow window(size);
    ASSERT_EQ(window.size(), size);
    ASSERT_EQ(window.bytes().size(), size);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(window.data()) % (2u << 20), 0u);
    EXPECT_TRUE(std::all_of(window.data(), window.data() + size, [](std::uint8_t b) { return b == 0; })) << size;
    window.data()[size - 1] = 0xCD;
    window.data()[0] = 0xAB;
    EXPECT_EQ(window.bytes().front(), 0xAB);
    if (size > 1) {
      EXPECT_EQ(window.bytes().back(), 0xCD);
    }
  }
}

TEST(ReadWindow, EmptyWindowHasNoBytes) {
  ReadWindow window(0);
  EXPECT_EQ(window.size(), 0u);
  EXPECT_TRUE(window.bytes().empty());
}

}  // namespace
}  // namespace tonvika
