#include "codecs/ac3_fields.h"

#include <gtest/gtest.h>

#include <span>
#include <string_view>

namespace tonvika {
namespace {

struct Case {
  std::string_view key;
  std::uint8_t value;
  std::string_view expected;
};

void ExpectAll(std::span<const Case> cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(DescribeAc3Field(c.key, c.value), c.expected)
        << c.key << " " << static_cast<int>(c.value);
  }
}

TEST(DescribeAc3Field, LabelAndListFields) {
  constexpr Case kCases[] = {
      {"cmixlev", 0, "Center Mix Level: 0.707(-3.0dB)"},
      {"cmixlev", 1, "Center Mix Level: 0.595(-4.5dB)"},
      {"cmixlev", 2, "Center Mix Level: 0.500(-6.0dB)"},
      {"cmixlev", 3, "Center Mix Level: reserved"},
      {"surmixlev", 0, "Surround Mix Level: 0.707(-3dB)"},
      {"surmixlev", 1, "Surround Mix Level: 0.500(-6dB)"},
      {"surmixlev", 2, "Surround Mix Level: 0"},
      {"surmixlev", 3, "Surround Mix Level: reserved"},
      {"dsurmod", 0, "Dolby Surround Mode: not indicated"},
      {"dsurmod", 1, "Dolby Surround Mode: Not Dolby Surround encoded"},
      {"dsurmod", 2, "Dolby Surround Mode: Dolby Surround encoded"},
      {"dsurmod", 3, "Dolby Surround Mode: reserved"},
      {"lfeon", 0, "Low frequency effects channel on: Off"},
      {"lfeon", 1, "Low frequency effects channel on: On"},
      {"roomtyp", 0, "Room type: not indicated"},
      {"roomtyp", 1, "Room type: large room,X curve monitor"},
      {"roomtyp", 2, "Room type: small room,flat monitor"},
      {"roomtyp", 3, "Room type: reserved"},
      {"dmixmod", 0, "Preferred stereo downmix mode: not indicated"},
      {"dmixmod", 1, "Preferred stereo downmix mode: Lt/Rt downmix preferred"},
      {"dmixmod", 2, "Preferred stereo downmix mode: Lo/Ro downmix preferred"},
      {"dmixmod", 3, "Preferred stereo downmix mode: reserved"},
      {"dsurexmod", 0, "Dolby Surround EX Mode: not indicated"},
      {"dsurexmod", 1, "Dolby Surround EX Mode: Not Dolby Surround EX encoded"},
      {"dsurexmod", 2, "Dolby Surround EX Mode: Dolby Surround EX encoded"},
      {"dsurexmod", 3, "Dolby Surround EX Mode: reserved"},
      {"dheadphonmod", 0, "Dolby Headphone Mode: not indicated"},
      {"dheadphonmod", 1, "Dolby Headphone Mode: Not Dolby Headphone encoded"},
      {"dheadphonmod", 2, "Dolby Headphone Mode: Dolby Headphone encoded"},
      {"dheadphonmod", 3, "Dolby Headphone Mode: reserved"},
  };
  ExpectAll(kCases);
}

TEST(DescribeAc3Field, EightStepMixLevelsForAllFourKeys) {
  constexpr std::string_view kSteps[] = {"1.414(+3.0dB)", "1.189(+1.5dB)", "1.000(0.0dB)",
                                         "0.841(-1.5dB)", "0.707(-3.0dB)", "0.595(-4.5dB)",
                                         "0.500(-6.0dB)", "0.000(-infdB)"};
  struct Key {
    std::string_view key;
    std::string_view label;
  };
  constexpr Key kKeys[] = {{"ltrtcmixlev", "Lt/Rt center mix level: "},
                           {"ltrtsumixlev", "Lt/Rt surround mix level: "},
                           {"lorocmixlev", "Lo/Ro center mix level: "},
                           {"lorosurmixlev", "Lo/Ro surround mix level: "}};
  for (const auto& k : kKeys) {
    for (std::uint8_t v = 0; v < 8; ++v) {
      EXPECT_EQ(DescribeAc3Field(k.key, v), std::string(k.label) + std::string(kSteps[v]))
          << k.key << " " << int{v};
    }
    EXPECT_EQ(DescribeAc3Field(k.key, 8), k.label) << k.key;
  }
}

TEST(DescribeAc3Field, OffAndOnFields) {
  constexpr Case kCases[] = {
      {"compre", 0, "compression control word: Off"},
      {"compre", 1, "compression control word: On"},
      {"langcode", 0, "Language code exists: Off"},
      {"langcode", 1, "Language code exists: On"},
      {"audprodle", 0, "Audio production information exists: Off"},
      {"audprodle", 1, "Audio production information exists: On"},
      {"copyrightb", 0, "Copyright bit: Off"},
      {"copyrightb", 1, "Copyright bit: On"},
      {"origbs", 0, "Original bit stream: Off"},
      {"origbs", 1, "Original bit stream: On"},
      {"xbsi1e", 0, "Extra bitstream information #1 exists: Off"},
      {"xbsi1e", 1, "Extra bitstream information #1 exists: On"},
      {"xbsi2e", 0, "Extra bitstream information #2 exists: Off"},
      {"xbsi2e", 1, "Extra bitstream information #2 exists: On"},
      {"adconvtyp", 0, "A/D Converter Type: Standard"},
      {"adconvtyp", 1, "A/D Converter Type: HDCD"},
      // Every value other than 0 reads as On.
      {"compre", 2, "compression control word: On"},
      {"origbs", 255, "Original bit stream: On"},
      {"adconvtyp", 7, "A/D Converter Type: HDCD"},
  };
  ExpectAll(kCases);
}

TEST(DescribeAc3Field, NumberFieldsAreUnsignedDecimal) {
  constexpr Case kCases[] = {
      {"dialnorm", 0, "Dialogue normalization: 0"},
      {"dialnorm", 31, "Dialogue normalization: 31"},
      {"compr", 0, "Compression gain word: 0"},
      {"compr", 128, "Compression gain word: 128"},
      {"compr", 255, "Compression gain word: 255"},
      {"mixlevel", 3, "Mixing level: 3"},
      {"mixlevel", 17, "Mixing level: 17"},
  };
  ExpectAll(kCases);
}

TEST(DescribeAc3Field, ValueOutsideTheListGivesTheLabelAlone) {
  constexpr Case kCases[] = {
      {"lfeon", 2, "Low frequency effects channel on: "},
      {"cmixlev", 4, "Center Mix Level: "},
      {"surmixlev", 255, "Surround Mix Level: "},
      {"dheadphonmod", 4, "Dolby Headphone Mode: "},
  };
  ExpectAll(kCases);
}

TEST(DescribeAc3Field, KeysWithoutAnEntryGiveTheEmptyText) {
  constexpr std::string_view kKeys[] = {
      "langcod",   "dialnorm2", "compr2",   "compr2e",   "langcod2e", "langcod2",
      "audprodl2e", "mixlevel2", "roomtyp2",
      // Other spellings and cases do not match.
      "CMIXLEV",   "cmixlev ",  " cmixlev", "Cmixlev",   "audprodie", "ltrtsurmixlev",
      "",          "xbsi2",     "bsid",
  };
  for (const auto key : kKeys) {
    for (int value : {0, 1, 2, 3, 7, 255}) {
      EXPECT_EQ(DescribeAc3Field(key, static_cast<std::uint8_t>(value)), "")
          << "'" << key << "' " << value;
    }
  }
}

}  // namespace
}  // namespace tonvika
