#include "codecs/ac3_frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bit_tools.h"

namespace tonvika {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

constexpr std::size_t kOffset = 4;  // after the sync word and crc1
constexpr std::size_t kWindow = 15;

// A frame head and the takes the reader must make to read its fields (an
// 8-bit field is two 4-bit takes).
struct Frame {
  Bytes bytes;
  std::vector<int> takes;
};

// Builds a frame from field values with a plain bit writer.
class FrameBuilder {
 public:
  FrameBuilder& Put(int width, unsigned value) {
    writer_.Put(width, value);
    if (width == 8) {
      takes_.insert(takes_.end(), {4, 4});
    } else {
      takes_.push_back(width);
    }
    return *this;
  }
  FrameBuilder& Head(unsigned fscod, unsigned frmsizecod, unsigned bsid, unsigned bsmod,
                     unsigned acmod) {
    return Put(2, fscod).Put(6, frmsizecod).Put(5, bsid).Put(3, bsmod).Put(3, acmod);
  }
  // The window after the fields, padded with ones or zeros.
  Frame Build(bool pad_ones = false) const {
    Frame frame{{0x0B, 0x77, 0x00, 0x00}, takes_};
    const auto window = writer_.Bytes(kWindow, pad_ones);
    frame.bytes.insert(frame.bytes.end(), window.begin(), window.end());
    return frame;
  }
  std::size_t BitCount() const { return writer_.BitCount(); }

 private:
  test::BitWriter writer_;
  std::vector<int> takes_;
};

struct Outcome {
  std::string summary;
  Lines lines;
};

// Runs the analysis and checks what every call must leave behind: the window
// shifted by exactly the expected takes, its last byte and the bytes around it
// untouched.
Outcome Analyse(const Frame& frame) {
  const Bytes guard = {0xA5, 0x5A};
  Bytes buffer = frame.bytes;
  buffer.insert(buffer.end(), guard.begin(), guard.end());

  test::WindowModel model(frame.bytes.data() + kOffset);
  for (int width : frame.takes) model.Take(width);
  Bytes expected(frame.bytes.begin(), frame.bytes.begin() + kOffset);
  const auto window = model.Bytes();
  expected.insert(expected.end(), window.begin(), window.end());
  expected.insert(expected.end(), frame.bytes.begin() + kOffset + kWindow, frame.bytes.end());
  expected.insert(expected.end(), guard.begin(), guard.end());

  const Ac3Analysis analysis = AnalyseAc3Frame(buffer.data(), kOffset);

  EXPECT_EQ(buffer, expected) << "window after the analysis";
  return {analysis.description.summary, analysis.description.lines};
}

Bytes WindowOf(const Bytes& frame) { return Bytes(frame.begin() + kOffset, frame.end()); }

// ---------------------------------------------------------------------------
// The three worked frames.

TEST(AnalyseAc3Frame, FiveOneFrame) {
  const Bytes literal = {0x0B, 0x77, 0x12, 0x34, 0x1E, 0x40, 0xE1, 0xD8, 0x40, 0, 0, 0, 0, 0,
                         0,    0,    0,    0,    0};
  FrameBuilder fields;
  fields.Head(0, 30, 8, 0, 7)
      .Put(2, 0)    // cmixlev
      .Put(2, 0)    // surmixlev
      .Put(1, 1)    // lfeon
      .Put(5, 27)   // dialnorm
      .Put(1, 0)    // compre
      .Put(1, 0)    // langcode
      .Put(1, 0)    // audprodie
      .Put(1, 0)    // copyrightb
      .Put(1, 1);   // origbs
  ASSERT_EQ(fields.BitCount(), 34u);
  const Frame built = fields.Build();
  ASSERT_EQ(WindowOf(built.bytes), WindowOf(literal));

  const auto outcome = Analyse({literal, built.takes});
  EXPECT_EQ(outcome.summary, "448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM");
  EXPECT_EQ(outcome.lines, (Lines{
                               "bsid:8",
                               "Center Mix Level: 0.707(-3.0dB)",
                               "Surround Mix Level: 0.707(-3dB)",
                               "Low frequency effects channel on: On",
                               "Dialogue normalization: 27",
                               "compression control word: Off",
                               "Language code exists: Off",
                               "Audio production information exists: Off",
                               "Copyright bit: Off",
                               "Original bit stream: On",
                           }));
}

TEST(AnalyseAc3Frame, DolbySurroundStereoFrame) {
  const Bytes literal = {0x0B, 0x77, 0x00, 0x00, 0x14, 0x40, 0x53, 0xFA, 0x58, 0x4E,
                         0x2E, 0,    0,    0,    0,    0,    0,    0,    0};
  FrameBuilder fields;
  fields.Head(0, 20, 8, 0, 2)
      .Put(2, 2)    // dsurmod
      .Put(1, 0)    // lfeon
      .Put(5, 31)   // dialnorm
      .Put(1, 1)    // compre
      .Put(8, 165)  // compr
      .Put(1, 1)    // langcode
      .Put(8, 9)    // langcod
      .Put(1, 1)    // audprodie
      .Put(5, 17)   // mixlevel
      .Put(2, 1)    // roomtyp
      .Put(1, 1)    // copyrightb
      .Put(1, 1);   // origbs
  const Frame built = fields.Build();
  ASSERT_EQ(WindowOf(built.bytes), WindowOf(literal));

  const auto outcome = Analyse({literal, built.takes});
  EXPECT_EQ(outcome.summary, "192kbps 48000Hz 2ch(2/0) L,R CM Dolby Surround");
  EXPECT_EQ(outcome.lines, (Lines{
                               "bsid:8",
                               "Dolby Surround Mode: Dolby Surround encoded",
                               "Low frequency effects channel on: Off",
                               "Dialogue normalization: 31",
                               "compression control word: On",
                               "Compression gain word: 165",
                               "Language code exists: On",
                               "",
                               "Audio production information exists: On",
                               "Mixing level: 17",
                               "Room type: large room,X curve monitor",
                               "Copyright bit: On",
                               "Original bit stream: On",
                           }));
}

// acmod 0, bsid 6 and every optional field present: the longest path, 113 bits.
TEST(AnalyseAc3Frame, LongestPathFrame) {
  const Bytes literal = {0x0B, 0x77, 0x00, 0x00, 0x48, 0x37, 0x0F, 0xFF, 0xEC, 0xB1,
                         0xE1, 0xC0, 0x5B, 0xA4, 0x8A, 0x3C, 0xBA, 0xD5, 0x80};
  FrameBuilder fields;
  fields.Head(1, 8, 6, 7, 0)
      .Put(1, 0)     // lfeon
      .Put(5, 31)    // dialnorm
      .Put(1, 1)     // compre
      .Put(8, 255)   // compr
      .Put(1, 1)     // langcode
      .Put(8, 101)   // langcod
      .Put(1, 1)     // audprodie
      .Put(5, 3)     // mixlevel
      .Put(2, 3)     // roomtyp
      .Put(5, 1)     // dialnorm2
      .Put(1, 1)     // compr2e
      .Put(8, 128)   // compr2
      .Put(1, 1)     // langcod2e
      .Put(8, 110)   // langcod2
      .Put(1, 1)     // audprodi2e
      .Put(5, 4)     // mixlevel2
      .Put(2, 2)     // roomtyp2
      .Put(1, 0)     // copyrightb
      .Put(1, 0)     // origbs
      .Put(1, 1)     // xbsi1e
      .Put(2, 1)     // dmixmod
      .Put(3, 0)     // ltrtcmixlev
      .Put(3, 7)     // ltrtsurmixlev
      .Put(3, 4)     // lorocmixlev
      .Put(3, 5)     // lorosurmixlev
      .Put(1, 1)     // xbsi2e
      .Put(2, 2)     // dsurexmod
      .Put(2, 2)     // dheadphonmod
      .Put(1, 1)     // adconvtyp
      .Put(8, 171);  // xbsi2
  ASSERT_EQ(fields.BitCount(), 113u);
  const Frame built = fields.Build();
  ASSERT_EQ(WindowOf(built.bytes), WindowOf(literal));

  const auto outcome = Analyse({literal, built.takes});
  EXPECT_EQ(outcome.summary, "64kbps 44100Hz 2ch(1+1) Ch1,Ch2  Dolby Surround EX");
  EXPECT_EQ(outcome.lines, (Lines{
                               "bsid:6",
                               "Low frequency effects channel on: Off",
                               "Dialogue normalization: 31",
                               "compression control word: On",
                               "Compression gain word: 255",
                               "Language code exists: On",
                               "",
                               "Audio production information exists: On",
                               "Mixing level: 3",
                               "Room type: reserved",
                               "",
                               "",
                               "",
                               "",
                               "",
                               "",
                               "",
                               "",
                               "Copyright bit: Off",
                               "Original bit stream: Off",
                               "Extra bitstream information #1 exists: On",
                               "Preferred stereo downmix mode: Lt/Rt downmix preferred",
                               "Lt/Rt center mix level: 1.414(+3.0dB)",
                               "Lt/Rt surround mix level: 0.000(-infdB)",
                               "Lo/Ro center mix level: 0.707(-3.0dB)",
                               "Lo/Ro surround mix level: 0.595(-4.5dB)",
                               "Extra bitstream information #2 exists: On",
                               "Dolby Surround EX Mode: Dolby Surround EX encoded",
                               "Dolby Headphone Mode: Dolby Headphone encoded",
                               "A/D Converter Type: HDCD",
                           }));
  EXPECT_EQ(outcome.lines.size(), 30u);
}

// ---------------------------------------------------------------------------
// Unknown syntax versions.

TEST(AnalyseAc3Frame, Bsid10ClearsThePageAndEmptiesTheSummary) {
  const Bytes literal = {0x0B, 0x77, 0x00, 0x00, 0x1E, 0x50, 0xE0, 0, 0, 0,
                         0,    0,    0,    0,    0,    0,    0,    0, 0};
  FrameBuilder fields;
  fields.Head(0, 30, 10, 0, 7);
  ASSERT_EQ(WindowOf(fields.Build().bytes), WindowOf(literal));

  const auto outcome = Analyse({literal, fields.Build().takes});
  EXPECT_EQ(outcome.summary, "");
  EXPECT_TRUE(outcome.lines.empty());
}

TEST(AnalyseAc3Frame, EveryBsidAbove8GivesUpAfterNineteenBits) {
  for (unsigned bsid = 9; bsid < 32; ++bsid) {
    SCOPED_TRACE(bsid);
    FrameBuilder fields;
    fields.Head(0, 30, bsid, 0, 7);
    const auto outcome = Analyse(fields.Build(true));
    EXPECT_EQ(outcome.summary, "");
    EXPECT_TRUE(outcome.lines.empty());
  }
}

// ---------------------------------------------------------------------------
// Which mix-level fields each audio coding mode reads.

struct MixFields {
  bool centre;
  bool surround;
  bool surround_mode;
  bool second_channel;  // the eight fields of the second mono channel
};

// By acmod.
constexpr MixFields kMixFieldsByAcmod[8] = {
    {false, false, false, true}, {false, false, false, false}, {false, false, true, false},
    {true, false, false, false}, {false, true, false, false},  {true, true, false, false},
    {false, true, false, false}, {true, true, false, false},
};

// Head plus every field that is always read, optional ones at 0 or absent.
FrameBuilder QuietFrame(unsigned fscod, unsigned frmsizecod, unsigned bsid, unsigned bsmod,
                        unsigned acmod) {
  FrameBuilder fields;
  fields.Head(fscod, frmsizecod, bsid, bsmod, acmod);
  const auto& mix = kMixFieldsByAcmod[acmod];
  if (mix.centre) fields.Put(2, 0);
  if (mix.surround) fields.Put(2, 0);
  if (mix.surround_mode) fields.Put(2, 0);
  fields.Put(1, 0).Put(5, 0).Put(1, 0).Put(1, 0).Put(1, 0);
  if (mix.second_channel) fields.Put(5, 0).Put(1, 0).Put(1, 0).Put(1, 0);
  return fields.Put(1, 0).Put(1, 0);  // copyrightb, origbs
}

TEST(AnalyseAc3Frame, EachAcmodReadsItsOwnMixFields) {
  struct Case {
    unsigned acmod;
    std::string_view summary;
  };
  constexpr Case kCases[] = {
      {0, "448kbps 48000Hz 2.1ch(1+1) Ch1,Ch2 CM"},
      {1, "448kbps 48000Hz 1.1ch(1/0) C CM"},
      {2, "448kbps 48000Hz 2.1ch(2/0) L,R CM"},
      {3, "448kbps 48000Hz 3.1ch(3/0) L,C,R CM"},
      {4, "448kbps 48000Hz 3.1ch(2/1) L,R,S CM"},
      {5, "448kbps 48000Hz 4.1ch(3/1) L,C,R,S CM"},
      {6, "448kbps 48000Hz 4.1ch(2/2) L,R,SL,SR CM"},
      {7, "448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.acmod);
    const auto& mix = kMixFieldsByAcmod[c.acmod];
    FrameBuilder fields;
    fields.Head(0, 30, 8, 0, c.acmod);
    Lines expected = {"bsid:8"};
    if (mix.centre) {
      fields.Put(2, 1);
      expected.push_back("Center Mix Level: 0.595(-4.5dB)");
    }
    if (mix.surround) {
      fields.Put(2, 1);
      expected.push_back("Surround Mix Level: 0.500(-6dB)");
    }
    if (mix.surround_mode) {
      fields.Put(2, 1);
      expected.push_back("Dolby Surround Mode: Not Dolby Surround encoded");
    }
    // A distinct dialnorm per mode shows that the fields before it had the right widths.
    fields.Put(1, 1).Put(5, 20 + c.acmod).Put(1, 0).Put(1, 0).Put(1, 0);
    expected.insert(expected.end(), {"Low frequency effects channel on: On",
                                     "Dialogue normalization: " + std::to_string(20 + c.acmod),
                                     "compression control word: Off",
                                     "Language code exists: Off",
                                     "Audio production information exists: Off"});
    if (mix.second_channel) {
      fields.Put(5, 9).Put(1, 0).Put(1, 0).Put(1, 0);
      expected.insert(expected.end(), {"", "", "", ""});
    }
    fields.Put(1, 1).Put(1, 0);
    expected.insert(expected.end(), {"Copyright bit: On", "Original bit stream: Off"});

    // Ones after origbs: a field read too many would show.
    const auto outcome = Analyse(fields.Build(true));
    EXPECT_EQ(outcome.lines, expected);
    EXPECT_EQ(outcome.summary, c.summary);
  }
}

// ---------------------------------------------------------------------------
// Summary tables.

TEST(AnalyseAc3Frame, ServiceTextByBsmodAndAcmod) {
  struct Case {
    unsigned bsmod;
    unsigned acmod;
    std::string_view summary;
  };
  constexpr Case kCases[] = {
      {0, 2, "192kbps 48000Hz 2ch(2/0) L,R CM"},
      {1, 2, "192kbps 48000Hz 2ch(2/0) L,R ME"},
      {2, 2, "192kbps 48000Hz 2ch(2/0) L,R VI"},
      {3, 2, "192kbps 48000Hz 2ch(2/0) L,R HI"},
      {4, 2, "192kbps 48000Hz 2ch(2/0) L,R D"},
      {5, 2, "192kbps 48000Hz 2ch(2/0) L,R C"},
      {6, 2, "192kbps 48000Hz 2ch(2/0) L,R E"},
      {6, 0, "192kbps 48000Hz 2ch(1+1) Ch1,Ch2 E"},
      {7, 0, "192kbps 48000Hz 2ch(1+1) Ch1,Ch2 "},  // no service text, the blank stays
      {7, 1, "192kbps 48000Hz 1ch(1/0) C VO"},
      {7, 2, "192kbps 48000Hz 2ch(2/0) L,R karaoke"},
      {7, 3, "192kbps 48000Hz 3ch(3/0) L,C,R karaoke"},
      {7, 4, "192kbps 48000Hz 3ch(2/1) L,R,S karaoke"},
      {7, 5, "192kbps 48000Hz 4ch(3/1) L,C,R,S karaoke"},
      {7, 6, "192kbps 48000Hz 4ch(2/2) L,R,SL,SR karaoke"},
      {7, 7, "192kbps 48000Hz 5ch(3/2) L,C,R,SL,SR karaoke"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << "bsmod " << c.bsmod << " acmod " << c.acmod);
    EXPECT_EQ(Analyse(QuietFrame(0, 20, 8, c.bsmod, c.acmod).Build()).summary, c.summary);
  }
}

TEST(AnalyseAc3Frame, SampleRateByFscodWithReservedAsZero) {
  constexpr std::string_view kExpected[4] = {"448kbps 48000Hz 2ch(2/0) L,R CM",
                                             "448kbps 44100Hz 2ch(2/0) L,R CM",
                                             "448kbps 32000Hz 2ch(2/0) L,R CM",
                                             "448kbps 0Hz 2ch(2/0) L,R CM"};
  for (unsigned fscod = 0; fscod < 4; ++fscod) {
    SCOPED_TRACE(fscod);
    const auto outcome = Analyse(QuietFrame(fscod, 30, 8, 0, 2).Build());
    EXPECT_EQ(outcome.summary, kExpected[fscod]);
    EXPECT_EQ(outcome.lines.size(), 9u);  // the analysis goes on
  }
}

TEST(AnalyseAc3Frame, BitRateByFrameSizeCodeWithHighCodesAsZero) {
  constexpr int kKbps[19] = {32,  40,  48,  56,  64,  80,  96,  112, 128, 160,
                             192, 224, 256, 320, 384, 448, 512, 576, 640};
  for (unsigned code = 0; code < 64; ++code) {
    SCOPED_TRACE(code);
    const int kbps = code < 38 ? kKbps[code / 2] : 0;
    const auto outcome = Analyse(QuietFrame(0, code, 8, 0, 1).Build());
    EXPECT_EQ(outcome.summary, std::to_string(kbps) + "kbps 48000Hz 1ch(1/0) C CM");
    EXPECT_EQ(outcome.lines.size(), 8u);  // the analysis goes on
  }
}

TEST(AnalyseAc3Frame, AcceptedBsidsWriteTheirNumberFirst) {
  for (unsigned bsid = 0; bsid <= 8; ++bsid) {
    SCOPED_TRACE(bsid);
    auto fields = QuietFrame(0, 30, bsid, 0, 1);
    if (bsid == 6) fields.Put(1, 0).Put(1, 0);  // xbsi1e, xbsi2e
    const auto outcome = Analyse(fields.Build());
    ASSERT_FALSE(outcome.lines.empty());
    EXPECT_EQ(outcome.lines.front(), "bsid:" + std::to_string(bsid));
    EXPECT_EQ(outcome.summary, "448kbps 48000Hz 1ch(1/0) C CM");
  }
}

// ---------------------------------------------------------------------------
// Surround flags and the extra information blocks.

TEST(AnalyseAc3Frame, DolbySurroundOnlyForDsurmod2) {
  constexpr std::string_view kSummaries[4] = {
      "192kbps 48000Hz 2ch(2/0) L,R CM", "192kbps 48000Hz 2ch(2/0) L,R CM",
      "192kbps 48000Hz 2ch(2/0) L,R CM Dolby Surround", "192kbps 48000Hz 2ch(2/0) L,R CM"};
  for (unsigned dsurmod = 0; dsurmod < 4; ++dsurmod) {
    SCOPED_TRACE(dsurmod);
    FrameBuilder fields;
    fields.Head(0, 20, 8, 0, 2).Put(2, dsurmod);
    fields.Put(1, 0).Put(5, 0).Put(1, 0).Put(1, 0).Put(1, 0).Put(1, 0).Put(1, 0);
    EXPECT_EQ(Analyse(fields.Build()).summary, kSummaries[dsurmod]);
  }
}

TEST(AnalyseAc3Frame, SurroundAndSurroundExTogetherInBsid6) {
  FrameBuilder fields;
  fields.Head(0, 20, 6, 0, 2).Put(2, 2);
  fields.Put(1, 0).Put(5, 24).Put(1, 0).Put(1, 0).Put(1, 0).Put(1, 0).Put(1, 1);
  fields.Put(1, 0);                                        // xbsi1e
  fields.Put(1, 1).Put(2, 2).Put(2, 1).Put(1, 0).Put(8, 0);  // xbsi2e and its block
  const auto outcome = Analyse(fields.Build(true));
  EXPECT_EQ(outcome.summary,
            "192kbps 48000Hz 2ch(2/0) L,R CM Dolby Surround Dolby Surround EX");
  EXPECT_EQ(outcome.lines, (Lines{
                               "bsid:6",
                               "Dolby Surround Mode: Dolby Surround encoded",
                               "Low frequency effects channel on: Off",
                               "Dialogue normalization: 24",
                               "compression control word: Off",
                               "Language code exists: Off",
                               "Audio production information exists: Off",
                               "Copyright bit: Off",
                               "Original bit stream: On",
                               "Extra bitstream information #1 exists: Off",
                               "Extra bitstream information #2 exists: On",
                               "Dolby Surround EX Mode: Dolby Surround EX encoded",
                               "Dolby Headphone Mode: Not Dolby Headphone encoded",
                               "A/D Converter Type: Standard",
                           }));
}

TEST(AnalyseAc3Frame, Bsid8IgnoresTheBitsAfterOrigbs) {
  // Everything after origbs is ones: a bsid 6 reader would see both blocks present.
  const auto outcome = Analyse(QuietFrame(0, 30, 8, 0, 7).Build(true));
  EXPECT_EQ(outcome.summary, "448kbps 48000Hz 5ch(3/2) L,C,R,SL,SR CM");
  ASSERT_EQ(outcome.lines.size(), 10u);
  EXPECT_EQ(outcome.lines.back(), "Original bit stream: Off");
}

TEST(AnalyseAc3Frame, Bsid6WithoutExtraBlocksReadsOnlyTheirFlags) {
  auto fields = QuietFrame(0, 30, 6, 0, 7);
  fields.Put(1, 0).Put(1, 0);
  const auto outcome = Analyse(fields.Build(true));
  ASSERT_EQ(outcome.lines.size(), 12u);
  EXPECT_EQ(outcome.lines[10], "Extra bitstream information #1 exists: Off");
  EXPECT_EQ(outcome.lines[11], "Extra bitstream information #2 exists: Off");
  EXPECT_EQ(outcome.summary, "448kbps 48000Hz 5ch(3/2) L,C,R,SL,SR CM");
}

TEST(AnalyseAc3Frame, SecondExtraBlockWithoutTheFirst) {
  auto fields = QuietFrame(0, 30, 6, 0, 1);
  fields.Put(1, 0).Put(1, 1).Put(2, 2).Put(2, 3).Put(1, 1).Put(8, 0xFF);
  const auto outcome = Analyse(fields.Build(true));
  ASSERT_EQ(outcome.lines.size(), 13u);
  EXPECT_EQ(outcome.lines[8], "Extra bitstream information #1 exists: Off");
  EXPECT_EQ(outcome.lines[9], "Extra bitstream information #2 exists: On");
  EXPECT_EQ(outcome.lines[10], "Dolby Surround EX Mode: Dolby Surround EX encoded");
  EXPECT_EQ(outcome.lines[11], "Dolby Headphone Mode: reserved");
  EXPECT_EQ(outcome.lines[12], "A/D Converter Type: HDCD");
  EXPECT_EQ(outcome.summary, "448kbps 48000Hz 1ch(1/0) C CM Dolby Surround EX");
}

// Each "exists" flag gates only its own fields.
TEST(AnalyseAc3Frame, CompressionLanguageAndProductionFlagsAreIndependent) {
  for (unsigned flags = 0; flags < 8; ++flags) {
    const bool compre = flags & 1, langcode = flags & 2, audprodie = flags & 4;
    SCOPED_TRACE(flags);
    FrameBuilder fields;
    fields.Head(0, 30, 8, 0, 1).Put(1, 0).Put(5, 12);
    Lines expected = {"bsid:8", "Low frequency effects channel on: Off",
                      "Dialogue normalization: 12"};
    fields.Put(1, compre);
    expected.push_back(compre ? "compression control word: On" : "compression control word: Off");
    if (compre) {
      fields.Put(8, 0x9C);
      expected.push_back("Compression gain word: 156");
    }
    fields.Put(1, langcode);
    expected.push_back(langcode ? "Language code exists: On" : "Language code exists: Off");
    if (langcode) {
      fields.Put(8, 0x65);
      expected.push_back("");
    }
    fields.Put(1, audprodie);
    expected.push_back(audprodie ? "Audio production information exists: On"
                                 : "Audio production information exists: Off");
    if (audprodie) {
      fields.Put(5, 30).Put(2, 2);
      expected.insert(expected.end(), {"Mixing level: 30", "Room type: small room,flat monitor"});
    }
    fields.Put(1, 1).Put(1, 1);
    expected.insert(expected.end(), {"Copyright bit: On", "Original bit stream: On"});
    const auto outcome = Analyse(fields.Build());
    EXPECT_EQ(outcome.lines, expected);
  }
}

}  // namespace
}  // namespace tonvika
