#include "codecs/lpcm.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <string_view>

namespace tonvika {
namespace {

struct LpcmCase {
  unsigned attribute;
  const char* text;
};

class DescribeLpcmCases : public ::testing::TestWithParam<LpcmCase> {};

TEST_P(DescribeLpcmCases, GivesText) {
  const LpcmCase& c = GetParam();
  EXPECT_EQ(DescribeLpcm(static_cast<std::uint8_t>(c.attribute)), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, DescribeLpcmCases,
    ::testing::Values(LpcmCase{0x01, "16bit 48000Hz stereo"},
                      LpcmCase{0x15, "16bit 96000Hz 6 channel multi"},
                      LpcmCase{0x81, "24bit 48000Hz stereo"},
                      LpcmCase{0xC7, "illegal bit 48000Hz 8 channel multi"},
                      LpcmCase{0x00, "16bit 48000Hz mono"},
                      LpcmCase{0x20, "16bit 48000Hz mono"},  // sampling field 2 reads as 0
                      LpcmCase{0x30, "16bit 96000Hz mono"},  // sampling field 3 reads as 1
                      LpcmCase{0x08, "16bit 48000Hz mono"},  // reserved bit 3 ignored
                      LpcmCase{0xC0, "illegal bit 48000Hz mono"},
                      LpcmCase{0xFF, "illegal bit 96000Hz 8 channel multi"},
                      LpcmCase{0x47, "20bit 48000Hz 8 channel multi"},
                      LpcmCase{0x42, "20bit 48000Hz 3 channel multi"},
                      LpcmCase{0x93, "24bit 96000Hz 4 channel multi"},
                      LpcmCase{0x04, "16bit 48000Hz 5 channel multi"},
                      LpcmCase{0x06, "16bit 48000Hz 7 channel multi"}));

constexpr std::array<std::string_view, 4> kWords{"16bit", "20bit", "24bit", "illegal bit"};
constexpr std::array<std::string_view, 2> kRates{" 48000Hz", " 96000Hz"};

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Every byte gives word length, sampling rate and channels, in that order.
TEST(DescribeLpcm, EveryByteGivesThreePieces) {
  std::set<std::string> distinct;
  for (unsigned value = 0; value < 256; ++value) {
    const std::string text = DescribeLpcm(static_cast<std::uint8_t>(value));
    std::string_view rest = text;
    const std::string_view word = kWords[value >> 6];
    ASSERT_TRUE(StartsWith(rest, word)) << text;
    rest.remove_prefix(word.size());
    const std::string_view rate = kRates[(value >> 4) & 1];
    ASSERT_TRUE(StartsWith(rest, rate)) << text;
    rest.remove_prefix(rate.size());
    const unsigned channels = (value & 7) + 1;
    std::string expected_channels = " ";
    if (channels == 1) {
      expected_channels += "mono";
    } else if (channels == 2) {
      expected_channels += "stereo";
    } else {
      expected_channels += std::to_string(channels);
      expected_channels += " channel multi";
    }
    EXPECT_EQ(rest, expected_channels) << text;
    distinct.insert(text);
  }
  // Bits 5 and 3 play no part: 4 word lengths x 2 rates x 8 channel counts.
  EXPECT_EQ(distinct.size(), 64u);
}

TEST(DescribeLpcm, IgnoresBitsFiveAndThree) {
  for (unsigned value = 0; value < 256; ++value) {
    const auto base = static_cast<std::uint8_t>(value & ~0x28u);
    EXPECT_EQ(DescribeLpcm(static_cast<std::uint8_t>(value)), DescribeLpcm(base)) << value;
  }
}

}  // namespace
}  // namespace tonvika
