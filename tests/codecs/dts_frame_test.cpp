#include "codecs/dts_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dts_header_packer.h"

namespace tonvika {
namespace {

using testing::DtsFields;
using testing::PackDtsHeader;
using Lines = std::vector<std::string>;

struct Result {
  Lines lines;
  std::string summary;
};

Result Analyse(const DtsHeaderBytes& header) {
  const DtsAnalysis analysis = AnalyseDtsFrame(header);
  return {analysis.description.lines, analysis.description.summary};
}

Result Analyse(const DtsFields& fields) { return Analyse(PackDtsHeader(fields)); }

bool HasLine(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool HasLineStartingWith(const Lines& lines, const std::string& prefix) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

constexpr DtsHeaderBytes kPlainFrame{0xFC, 0x3C, 0x3E, 0xD2, 0x75, 0xE0,
                                     0x0A, 0x39, 0x80, 0x00, 0x00};
constexpr DtsHeaderBytes kEsFrameWithCrc{0xFE, 0x3C, 0x7D, 0xB2, 0x77, 0x08,
                                         0x1D, 0x12, 0xAB, 0xC7, 0x7A};

DtsFields EsFrameWithCrcFields() {
  DtsFields f;
  f.cpf = 1;
  f.fsize = 2011;
  f.rate = 24;
  f.dynf = 1;
  f.ext_audio = 1;
  f.ext_audio_id = 0;
  f.lff = 2;
  f.hflag = 1;
  f.crc = 0x12AB;
  f.filts = 1;
  f.vernum = 8;
  f.chist = 3;
  f.pcmr = 5;
  f.sumf = 1;
  f.sums = 1;
  f.dialnorm = 10;
  return f;
}

TEST(DtsHeaderPacker, ReproducesTheLiteralExampleFrames) {
  EXPECT_EQ(PackDtsHeader(DtsFields{}), kPlainFrame);
  EXPECT_EQ(PackDtsHeader(EsFrameWithCrcFields()), kEsFrameWithCrc);
}

TEST(AnalyseDtsFrame, PlainFrameGivesTwentyOneLinesAndSummary) {
  const Result r = Analyse(kPlainFrame);
  EXPECT_EQ(r.summary, " 768kbps 48000Hz L,C,R,SL,SR,LFE 24bit");
  const Lines expected{
      "Frame Type: Normal frame",
      "Deficit Sample Count: 31(indicating Normal frame)",
      "CRC Present Flag: Not Present",
      "Number of PCM Sample Blocks: &HF",
      "Primary Frame Byte Size: 1006",
      "Embedded Down Mix Enabled: Not Present",
      "Embedded Dynamic Range: Not Present",
      "Embedded Time Stamp: Not Present",
      "Auxiliary Data: Not Present",
      "The source material is mastered in HDCD: No",
      "Extended Coding Flag: Not Present",
      "Audio Sync Word Insertion Flag: Present",
      "Low Frequency Effects - Interpolation Factor=128",
      "Predictor History Flag Switch: Not Present",
      "Multirate Interpolator Switch: Non-perfect Reconstruction",
      "Encoder Software Rev.: 7",
      "Copy History: 0",
      "source material are mastered in DTS ES format: No",
      "Front Sum/Difference Flag: 0:L=L,R=R",
      "Surrounds Sum/Difference Flag: 0:Ls=Ls,Rs=Rs",
      "Dialog Normalisation Parameter: 0",
  };
  EXPECT_EQ(r.lines, expected);
}

TEST(AnalyseDtsFrame, EsFrameWithCrcGivesTwentyThreeLinesAndTaggedSummary) {
  const Result r = Analyse(kEsFrameWithCrc);
  EXPECT_EQ(r.summary, "-ES(Ext Ch)  1536kbps 48000Hz L,C,R,SL,SR,LFE 24bit");
  ASSERT_EQ(r.lines.size(), 23u);
  EXPECT_EQ(r.lines[4], "Primary Frame Byte Size: 2012");
  EXPECT_EQ(r.lines[11], "Extension Audio Descriptor Flag: Channel Extension(Xch)");
  EXPECT_EQ(r.lines[13], "Low Frequency Effects - Interpolation Factor=64");
  EXPECT_EQ(r.lines[15], "Header CRC Check Bytes: 12 AB");
  EXPECT_EQ(r.lines[16], "Multirate Interpolator Switch: Perfect Reconstruction");
  EXPECT_EQ(r.lines[17], "Encoder Software Rev.: 8");
  EXPECT_EQ(r.lines[18], "Copy History: 3");
  EXPECT_EQ(r.lines[19], "source material are mastered in DTS ES format: Yes");
  EXPECT_EQ(r.lines[20], "Front Sum/Difference Flag: 1:L=L+R,R=L-R");
  EXPECT_EQ(r.lines[21], "Surrounds Sum/Difference Flag: 1:Ls=Ls+Rs,Rs=Ls-Rs");
  EXPECT_EQ(r.lines[22], "Dialog Normalisation Parameter: A");
  // The flags that this frame sets, through the present rule.
  EXPECT_EQ(r.lines[2], "CRC Present Flag: Present");
  EXPECT_EQ(r.lines[6], "Embedded Dynamic Range: Present");
  EXPECT_EQ(r.lines[10], "Extended Coding Flag: Present");
  EXPECT_EQ(r.lines[14], "Predictor History Flag Switch: Present");
}

DtsFields DistinctTail() {
  DtsFields f;
  f.filts = 1;
  f.vernum = 0xB;
  f.chist = 2;
  f.pcmr = 3;
  f.sumf = 1;
  f.sums = 0;
  f.dialnorm = 0xE;
  return f;
}

Lines Tail(const Lines& lines) { return Lines(lines.end() - 7, lines.end()); }

TEST(AnalyseDtsFrame, CrcMovesTheTailFieldsTwoBytesLater) {
  DtsFields without_crc = DistinctTail();
  DtsFields with_crc = DistinctTail();
  with_crc.cpf = 1;
  with_crc.crc = 0xFFFF;  // all ones, so a misplaced tail read would show it
  const DtsHeaderBytes a = PackDtsHeader(without_crc);
  const DtsHeaderBytes b = PackDtsHeader(with_crc);
  // The same tail bits sit in frame bytes 11-12 without a CRC, 13-14 with one.
  EXPECT_EQ(a[7], b[9]);
  EXPECT_EQ(a[8], b[10]);

  const Lines expected_tail{
      "Multirate Interpolator Switch: Perfect Reconstruction",
      "Encoder Software Rev.: B",
      "Copy History: 2",
      "source material are mastered in DTS ES format: Yes",
      "Front Sum/Difference Flag: 1:L=L+R,R=L-R",
      "Surrounds Sum/Difference Flag: 0:Ls=Ls,Rs=Rs",
      "Dialog Normalisation Parameter: E",
  };
  const Result ra = Analyse(a);
  const Result rb = Analyse(b);
  EXPECT_EQ(Tail(ra.lines), expected_tail);
  EXPECT_EQ(Tail(rb.lines), expected_tail);
  EXPECT_EQ(ra.summary, "-ES  768kbps 48000Hz L,C,R,SL,SR,LFE 20bit");
  EXPECT_EQ(rb.summary, ra.summary);
  EXPECT_EQ(rb.lines.size(), ra.lines.size() + 1);
  EXPECT_TRUE(HasLine(rb.lines, "Header CRC Check Bytes: FF FF"));
  EXPECT_FALSE(HasLineStartingWith(ra.lines, "Header CRC"));
}

TEST(AnalyseDtsFrame, WithoutCrcTheLastTwoBytesAreNotRead) {
  const DtsHeaderBytes zeros = PackDtsHeader(DistinctTail());
  DtsHeaderBytes filler{};
  filler[9] = 0xFF;
  filler[10] = 0xFF;
  const DtsHeaderBytes ones = PackDtsHeader(DistinctTail(), filler);
  ASSERT_NE(zeros, ones);
  const Result a = Analyse(zeros);
  const Result b = Analyse(ones);
  EXPECT_EQ(a.lines, b.lines);
  EXPECT_EQ(a.summary, b.summary);
}

TEST(AnalyseDtsFrame, CrcLineShowsTwoUpperCaseDigitsPerByte) {
  DtsFields f;
  f.cpf = 1;
  f.crc = 0x0A0B;
  EXPECT_TRUE(HasLine(Analyse(f).lines, "Header CRC Check Bytes: 0A 0B"));
  f.crc = 0;
  EXPECT_TRUE(HasLine(Analyse(f).lines, "Header CRC Check Bytes: 00 00"));
}

TEST(AnalyseDtsFrame, NumberOfBlocksIsTheRawFieldInHex) {
  DtsFields f;
  f.nblks = 127;
  const DtsHeaderBytes all = PackDtsHeader(f);
  EXPECT_EQ(all[0] & 0x01, 0x01);  // frame byte 4 bit 0
  EXPECT_EQ(all[1] & 0xFC, 0xFC);  // frame byte 5 bits 7 to 2
  EXPECT_EQ(Analyse(all).lines[3], "Number of PCM Sample Blocks: &H7F");
  f.nblks = 64;
  EXPECT_EQ(Analyse(f).lines[3], "Number of PCM Sample Blocks: &H40");
  f.nblks = 0;
  EXPECT_EQ(Analyse(f).lines[3], "Number of PCM Sample Blocks: &H0");
}

TEST(AnalyseDtsFrame, FrameSizeIsFieldPlusOne) {
  DtsFields f;
  f.fsize = 16383;
  EXPECT_EQ(Analyse(f).lines[4], "Primary Frame Byte Size: 16384");
  f.fsize = 0;
  EXPECT_EQ(Analyse(f).lines[4], "Primary Frame Byte Size: 1");
}

// Each row changes one field of the plain frame; exactly one detail line
// (by index) must change, and the summary must not. A wrong width or offset
// anywhere would disturb a neighbour.
struct SingleFieldCase {
  const char* name;
  unsigned DtsFields::*field;
  unsigned value;
  std::size_t line;
  const char* text;
};

class DtsSingleField : public ::testing::TestWithParam<SingleFieldCase> {};

TEST_P(DtsSingleField, ChangesOnlyItsOwnLine) {
  const SingleFieldCase& c = GetParam();
  const Result base = Analyse(DtsFields{});
  DtsFields f;
  f.*c.field = c.value;
  const Result r = Analyse(f);
  ASSERT_EQ(r.lines.size(), base.lines.size());
  for (std::size_t i = 0; i < r.lines.size(); ++i) {
    if (i == c.line) {
      EXPECT_EQ(r.lines[i], c.text);
    } else {
      EXPECT_EQ(r.lines[i], base.lines[i]) << "line " << i + 1;
    }
  }
  EXPECT_EQ(r.summary, base.summary);
}

INSTANTIATE_TEST_SUITE_P(
    AnalyseDtsFrame, DtsSingleField,
    ::testing::Values(
        SingleFieldCase{"ftype", &DtsFields::ftype, 0, 0, "Frame Type: Termination frame"},
        SingleFieldCase{"short0", &DtsFields::short_count, 0, 1, "Deficit Sample Count: [0..30]"},
        SingleFieldCase{"short30", &DtsFields::short_count, 30, 1,
                        "Deficit Sample Count: [0..30]"},
        SingleFieldCase{"nblks", &DtsFields::nblks, 0x55, 3, "Number of PCM Sample Blocks: &H55"},
        SingleFieldCase{"fsize", &DtsFields::fsize, 0x2AAA, 4, "Primary Frame Byte Size: 10923"},
        SingleFieldCase{"mix", &DtsFields::mix, 1, 5, "Embedded Down Mix Enabled: Present"},
        SingleFieldCase{"dynf", &DtsFields::dynf, 1, 6, "Embedded Dynamic Range: Present"},
        SingleFieldCase{"timef", &DtsFields::timef, 1, 7, "Embedded Time Stamp: Present"},
        SingleFieldCase{"auxf", &DtsFields::auxf, 1, 8, "Auxiliary Data: Present"},
        SingleFieldCase{"hdcd", &DtsFields::hdcd, 1, 9,
                        "The source material is mastered in HDCD: Yes"},
        SingleFieldCase{"aspf", &DtsFields::aspf, 0, 11,
                        "Audio Sync Word Insertion Flag: Not Present"},
        SingleFieldCase{"hflag", &DtsFields::hflag, 1, 13, "Predictor History Flag Switch: Present"},
        SingleFieldCase{"filts", &DtsFields::filts, 1, 14,
                        "Multirate Interpolator Switch: Perfect Reconstruction"},
        SingleFieldCase{"vernum", &DtsFields::vernum, 0xF, 15, "Encoder Software Rev.: F"},
        SingleFieldCase{"chist", &DtsFields::chist, 3, 16, "Copy History: 3"},
        SingleFieldCase{"sumf", &DtsFields::sumf, 1, 18, "Front Sum/Difference Flag: 1:L=L+R,R=L-R"},
        SingleFieldCase{"sums", &DtsFields::sums, 1, 19,
                        "Surrounds Sum/Difference Flag: 1:Ls=Ls+Rs,Rs=Ls-Rs"},
        SingleFieldCase{"dialnorm", &DtsFields::dialnorm, 0xF, 20,
                        "Dialog Normalisation Parameter: F"}),
    [](const auto& info) { return std::string(info.param.name); });

struct TagCase {
  unsigned ext_audio;
  unsigned ext_audio_id;
  unsigned pcmr;
  const char* tag;
  const char* descriptor_line;  // nullptr: no line 12
};

class DtsSummaryTag : public ::testing::TestWithParam<TagCase> {};

TEST_P(DtsSummaryTag, IsPrependedAndDescriptorLineFollowsExtAudio) {
  const TagCase& c = GetParam();
  DtsFields f;
  f.ext_audio = c.ext_audio;
  f.ext_audio_id = c.ext_audio_id;
  f.pcmr = c.pcmr;
  const Result r = Analyse(f);
  const std::string rest = std::string(" 768kbps 48000Hz L,C,R,SL,SR,LFE ") +
                           (c.pcmr == 5 || c.pcmr == 6 ? "24bit" : "16bit");
  EXPECT_EQ(r.summary, c.tag + rest);
  if (c.descriptor_line == nullptr) {
    EXPECT_EQ(r.lines.size(), 21u);
    EXPECT_FALSE(HasLineStartingWith(r.lines, "Extension Audio Descriptor Flag"));
  } else {
    ASSERT_EQ(r.lines.size(), 22u);
    EXPECT_EQ(r.lines[11], c.descriptor_line);
  }
}

INSTANTIATE_TEST_SUITE_P(
    AnalyseDtsFrame, DtsSummaryTag,
    ::testing::Values(
        TagCase{0, 0, 5, "-ES ", nullptr}, TagCase{0, 0, 1, "-ES ", nullptr},
        TagCase{0, 0, 6, "", nullptr}, TagCase{0, 3, 0, "", nullptr},
        TagCase{1, 0, 6, "-ES(Ext Ch) ", "Extension Audio Descriptor Flag: Channel Extension(Xch)"},
        TagCase{1, 1, 5, "", "Extension Audio Descriptor Flag: Reserved"},
        TagCase{1, 2, 6, "-96/24(Ext Freq) ",
                "Extension Audio Descriptor Flag: Frequency Extension (X96k)"},
        TagCase{1, 3, 6, "-ES&96/24(Ext Ch&Freq) ", "Extension Audio Descriptor Flag: Xch and X96k"},
        TagCase{1, 4, 5, "", "Extension Audio Descriptor Flag: Reserved"},
        TagCase{1, 7, 1, "", "Extension Audio Descriptor Flag: Reserved"}));

struct LfeCase {
  unsigned lff;
  const char* line;  // nullptr: no LFE line
  const char* layout;
};

class DtsLfe : public ::testing::TestWithParam<LfeCase> {};

TEST_P(DtsLfe, GivesLineAndSummaryText) {
  const LfeCase& c = GetParam();
  DtsFields f;
  f.lff = c.lff;
  const Result r = Analyse(f);
  EXPECT_EQ(r.summary, std::string(" 768kbps 48000Hz ") + c.layout + " 24bit");
  if (c.line == nullptr) {
    EXPECT_EQ(r.lines.size(), 20u);
    EXPECT_FALSE(HasLineStartingWith(r.lines, "Low Frequency Effects"));
  } else {
    ASSERT_EQ(r.lines.size(), 21u);
    EXPECT_EQ(r.lines[12], c.line);
  }
}

INSTANTIATE_TEST_SUITE_P(
    AnalyseDtsFrame, DtsLfe,
    ::testing::Values(LfeCase{0, nullptr, "L,C,R,SL,SR"},
                      LfeCase{1, "Low Frequency Effects - Interpolation Factor=128",
                              "L,C,R,SL,SR,LFE"},
                      LfeCase{2, "Low Frequency Effects - Interpolation Factor=64",
                              "L,C,R,SL,SR,LFE"},
                      LfeCase{3, nullptr, "L,C,R,SL,SR"}));

// The summary with the plain frame's other fields and no LFE, so the piece
// under test stands between fixed neighbours.
std::string SummaryWith(unsigned DtsFields::*field, unsigned value) {
  DtsFields f;
  f.lff = 0;
  f.*field = value;
  return Analyse(f).summary;
}

TEST(AnalyseDtsFrame, LayoutByChannelArrangement) {
  const char* const layouts[16] = {
      "A",
      "dual mono",
      "stereo",
      "(L+R),(L-R)",
      "LT,RT",
      "L,C,R",
      "L,R,S",
      "L,C,R,S",
      "L,R,SL,SR",
      "L,C,R,SL,SR",
      "CL,CR,L,R,SL,SR",
      "C,L,R,LR,RR,OV",
      "CF,CR,LF,RF,LR,RR",
      "CL,C,CR,L,R,SL,SR",
      "CL,CR,L,R,SL1,SL2,SR1,SR2",
      "CL,C,CR,L,R,SL,S,SR",
  };
  for (unsigned amode = 0; amode < 64; ++amode) {
    const std::string layout = amode < 16 ? layouts[amode] : "User Defined";
    EXPECT_EQ(SummaryWith(&DtsFields::amode, amode), " 768kbps 48000Hz " + layout + " 24bit")
        << "AMODE " << amode;
  }
}

TEST(AnalyseDtsFrame, SamplingRateBySfreq) {
  const char* const rates[16] = {"Invalid", "8000Hz",  "16000Hz", "32000Hz", "Invalid", "Invalid",
                                 "11025Hz", "22050Hz", "44100Hz", "Invalid", "Invalid", "12000Hz",
                                 "24000Hz", "48000Hz", "Invalid", "Invalid"};
  for (unsigned sfreq = 0; sfreq < 16; ++sfreq) {
    EXPECT_EQ(SummaryWith(&DtsFields::sfreq, sfreq),
              std::string(" 768kbps ") + rates[sfreq] + " L,C,R,SL,SR 24bit")
        << "SFREQ " << sfreq;
  }
}

TEST(AnalyseDtsFrame, BitRateByRate) {
  const char* const rates[32] = {
      "32kbps",   "56kbps",   "64kbps",   "96kbps",     "112kbps",  "128kbps",  "192kbps",
      "224kbps",  "256kbps",  "320kbps",  "384kbps",    "448kbps",  "512kbps",  "576kbps",
      "640kbps",  "768kbps",  "960kbps",  "1024kbps",   "1152kbps", "1280kbps", "1344kbps",
      "1408kbps", "1411.2kbps", "1472kbps", "1536kbps", "1920kbps", "2048kbps", "3072kbps",
      "3840kbps", "open",     "Variable", "Loss-less"};
  for (unsigned rate = 0; rate < 32; ++rate) {
    EXPECT_EQ(SummaryWith(&DtsFields::rate, rate),
              std::string(" ") + rates[rate] + " 48000Hz L,C,R,SL,SR 24bit")
        << "RATE " << rate;
  }
}

TEST(AnalyseDtsFrame, SourceResolutionGivesBitDepthEsLineAndTag) {
  struct Row {
    const char* summary;
    const char* es;
  };
  const Row rows[8] = {
      {" 768kbps 48000Hz L,C,R,SL,SR 16bit", "No"},
      {"-ES  768kbps 48000Hz L,C,R,SL,SR 16bit", "Yes"},
      {" 768kbps 48000Hz L,C,R,SL,SR 20bit", "No"},
      {"-ES  768kbps 48000Hz L,C,R,SL,SR 20bit", "Yes"},
      {" 768kbps 48000Hz L,C,R,SL,SR Invaild bit", "Invalid bit"},
      {"-ES  768kbps 48000Hz L,C,R,SL,SR 24bit", "Yes"},
      {" 768kbps 48000Hz L,C,R,SL,SR 24bit", "No"},
      {" 768kbps 48000Hz L,C,R,SL,SR Invaild bit", "Invalid bit"},
  };
  for (unsigned pcmr = 0; pcmr < 8; ++pcmr) {
    DtsFields f;
    f.lff = 0;
    f.pcmr = pcmr;
    const Result r = Analyse(f);
    EXPECT_EQ(r.summary, rows[pcmr].summary) << "PCMR " << pcmr;
    EXPECT_EQ(r.lines[16], std::string("source material are mastered in DTS ES format: ") +
                               rows[pcmr].es)
        << "PCMR " << pcmr;
  }
}

TEST(AnalyseDtsFrame, LineCountRangesFromTwentyToTwentyThree) {
  DtsFields fewest;
  fewest.lff = 0;
  EXPECT_EQ(Analyse(fewest).lines.size(), 20u);
  DtsFields most;
  most.cpf = 1;
  most.ext_audio = 1;
  most.lff = 2;
  EXPECT_EQ(Analyse(most).lines.size(), 23u);
}

}  // namespace
}  // namespace tonvika
