#include "codecs/header_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "codecs/ac3_frame.h"
#include "codecs/dts_frame.h"
#include "dts_header_packer.h"

namespace tonvika {
namespace {

using testing::DtsFields;
using testing::PackDtsHeader;

// An AC-3 header as the decoder leaves it: the five fixed fields, lfeon.
Ac3Header Ac3(int fscod, int frmsizecod, int bsid, int acmod, int lfeon) {
  Ac3Header h;
  const std::pair<Ac3Field, int> fields[] = {{Ac3Field::kFscod, fscod}, {Ac3Field::kFrmsizecod, frmsizecod},
                                             {Ac3Field::kBsid, bsid},   {Ac3Field::kBsmod, 0},
                                             {Ac3Field::kAcmod, acmod}, {Ac3Field::kLfeon, lfeon}};
  for (const auto& [field, value] : fields) {
    if (field == Ac3Field::kLfeon && bsid > kAc3LastKnownBsid) continue;
    h.values[static_cast<std::size_t>(field)] = static_cast<std::uint8_t>(value);
    h.read[static_cast<std::size_t>(field)] = true;
  }
  return h;
}

struct Expected {
  std::optional<double> kbps;
  std::optional<int> hz;
  std::optional<int> channels;
  std::optional<bool> lfe;
  std::optional<int> bits;
  std::optional<std::string> layout;
};

void ExpectValues(const TrackHeader& header, const Expected& e) {
  const HeaderValues v = ValuesOf(header);
  EXPECT_EQ(v.bit_rate_kbps, e.kbps);
  EXPECT_EQ(v.sample_rate_hz, e.hz);
  EXPECT_EQ(v.channels, e.channels);
  EXPECT_EQ(v.lfe, e.lfe);
  EXPECT_EQ(v.bits_per_sample, e.bits);
  EXPECT_EQ(v.layout, e.layout);
  EXPECT_EQ(v.version, std::nullopt);  // MPEG audio alone has these
  EXPECT_EQ(v.layer, std::nullopt);
}

TEST(HeaderValues, Ac3ByCodes) {
  struct Case {
    int fscod, frmsizecod, bsid, acmod, lfeon;
    Expected expected;
  } const cases[] = {
      {0, 30, 8, 7, 1, {448, 48000, 6, true, {}, "3/2"}},
      {0, 31, 8, 7, 0, {448, 48000, 5, false, {}, "3/2"}},  // the odd code of a pair
      {1, 16, 8, 0, 0, {128, 44100, 2, false, {}, "1+1"}},  // dual mono: two channels
      {2, 0, 6, 1, 1, {32, 32000, 2, true, {}, "1/0"}},
      {0, 36, 8, 2, 0, {640, 48000, 2, false, {}, "2/0"}},
      {0, 38, 8, 2, 0, {{}, 48000, 2, false, {}, "2/0"}},   // no bit rate for 38 to 63
      {3, 63, 8, 6, 1, {{}, {}, 5, true, {}, "2/2"}},       // reserved fscod
      {0, 30, 10, 7, 0, {{}, {}, {}, {}, {}, {}}},          // a later syntax: nothing known
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "fscod " << c.fscod << " frmsizecod " << c.frmsizecod << " bsid "
                                    << c.bsid << " acmod " << c.acmod);
    ExpectValues(Ac3(c.fscod, c.frmsizecod, c.bsid, c.acmod, c.lfeon), c.expected);
  }
}

TEST(HeaderValues, Ac3FieldsAreThoseReadByTheirNamesInStreamOrder) {
  // The longest path: bsid 6, acmod 0, every optional field present.
  std::vector<std::uint8_t> frame = {0x0B, 0x77, 0x00, 0x00, 0x48, 0x37, 0x0F, 0xFF, 0xEC, 0xB1,
                                     0xE1, 0xC0, 0x5B, 0xA4, 0x8A, 0x3C, 0xBA, 0xD5, 0x80};
  const HeaderValues v = ValuesOf(AnalyseAc3Frame(frame.data(), 4).header);
  std::vector<std::string> names;
  for (const NamedField& f : v.fields) names.emplace_back(f.name);
  const std::vector<std::string> expected = {
      "fscod",     "frmsizecod", "bsid",        "bsmod",        "acmod",       "lfeon",        "dialnorm",
      "compre",    "compr",      "langcode",    "langcod",      "audprodie",   "mixlevel",     "roomtyp",
      "dialnorm2", "compr2e",    "compr2",      "langcod2e",    "langcod2",    "audprodi2e",   "mixlevel2",
      "roomtyp2",  "copyrightb", "origbs",      "xbsi1e",       "dmixmod",     "ltrtcmixlev",  "ltrtsurmixlev",
      "lorocmixlev", "lorosurmixlev", "xbsi2e", "dsurexmod",    "dheadphonmod", "adconvtyp",   "xbsi2"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(v.fields[1].value, 8u);    // frmsizecod: 64 kb/s
  EXPECT_EQ(v.fields[8].value, 255u);  // compr, two 4-bit takes
  EXPECT_EQ(v.bit_rate_kbps, 64);
  EXPECT_EQ(v.sample_rate_hz, 44100);
}

TEST(HeaderValues, DtsByCodes) {
  struct Case {
    unsigned rate, sfreq, amode, lff, pcmr;
    Expected expected;
  } const cases[] = {
      {15, 13, 9, 1, 6, {768, 48000, 6, true, 24, "L,C,R,SL,SR"}},
      {22, 8, 9, 2, 0, {1411.2, 44100, 6, true, 16, "L,C,R,SL,SR"}},
      {24, 13, 2, 0, 2, {1536, 48000, 2, false, 20, "stereo"}},
      {0, 1, 0, 3, 5, {32, 8000, 1, false, 24, "A"}},  // LFF 3 is no LFE
      {29, 0, 15, 1, 4, {{}, {}, 9, true, {}, "CL,C,CR,L,R,SL,S,SR"}},
      {30, 14, 16, 0, 7, {{}, {}, {}, false, {}, "User Defined"}},
      {31, 5, 63, 1, 1, {{}, {}, {}, true, 16, "User Defined"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "RATE " << c.rate << " SFREQ " << c.sfreq << " AMODE " << c.amode);
    DtsFields fields;
    fields.rate = c.rate;
    fields.sfreq = c.sfreq;
    fields.amode = c.amode;
    fields.lff = c.lff;
    fields.pcmr = c.pcmr;
    ExpectValues(DecodeDtsHeader(PackDtsHeader(fields)), c.expected);
  }
}

TEST(HeaderValues, DtsCrcIsAFieldOnlyWhenPresent) {
  DtsFields fields;
  const auto names = [](const HeaderValues& v) {
    std::vector<std::string> out;
    for (const NamedField& f : v.fields) out.emplace_back(f.name);
    return out;
  };
  const auto without = names(ValuesOf(DecodeDtsHeader(PackDtsHeader(fields))));
  EXPECT_EQ(without.size(), 25u);
  EXPECT_EQ(std::count(without.begin(), without.end(), "HCRC"), 0);
  fields.cpf = 1;
  fields.crc = 0x12AB;
  const HeaderValues with = ValuesOf(DecodeDtsHeader(PackDtsHeader(fields)));
  ASSERT_EQ(with.fields.size(), 26u);
  EXPECT_EQ(with.fields[18].name, "HCRC");
  EXPECT_EQ(with.fields[18].value, 0x12ABu);
  EXPECT_EQ(with.fields.back().name, "DIALNORM");
}

TEST(HeaderValues, LpcmByAttributeByte) {
  struct Case {
    std::uint8_t attribute;
    Expected expected;
  } const cases[] = {
      {0x01, {1536, 48000, 2, false, 16, "stereo"}},
      {0x15, {9216, 96000, 6, false, 16, "6 channel multi"}},
      {0x47, {7680, 48000, 8, false, 20, "8 channel multi"}},
      {0x80, {1152, 48000, 1, false, 24, "mono"}},
      {0xC1, {{}, 48000, 2, false, {}, "stereo"}},  // reserved word length
      {0x21, {{}, {}, 2, false, 16, "stereo"}},     // reserved sampling field 2
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.attribute));
    ExpectValues(DecodeLpcmAttributes(c.attribute), c.expected);
  }
  const HeaderValues v = ValuesOf(DecodeLpcmAttributes(0x35));
  ASSERT_EQ(v.fields.size(), 3u);
  EXPECT_EQ(v.fields[0].value, 0u);
  EXPECT_EQ(v.fields[1].value, 3u);  // raw, though the text reads bit 4 alone
  EXPECT_EQ(v.fields[2].value, 5u);
}

}  // namespace
}  // namespace tonvika
