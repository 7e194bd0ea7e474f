// Raw .ac3 and .dts files made by a real encoder (tests/fixtures/raw).

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "view/track_slots.h"
#include "codecs/ac3_frame.h"
#include "view/window_run.h"

namespace tonvika {
namespace {

const std::filesystem::path kRaw = std::filesystem::path(TONVIKA_FIXTURES) / "raw";

class RawFileFixtures : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_directory(kRaw)) GTEST_SKIP() << "no raw fixtures in " << kRaw;
  }
};

struct RawCase {
  const char* file;
  const char* kind_start;  // what the encoder settings fix of the kind text
};

// Encoded as 3/2 + LFE at 448 kbps, 2/0 at 192 kbps, 3/2 + LFE and 2/0 at
// 768 kbps, all at 48 kHz, behind 100, 333, 100 and 101 bytes of other data.
const RawCase kFound[] = {
    {"ac3_junk100_5.1_448k.ac3", "AC-3 448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR "},
    {"ac3_junk333_stereo_192k.ac3", "AC-3 192kbps 48000Hz 2ch(2/0) L,R "},
    {"dts_junk100_5.1_768k.dts", "DTS 768kbps 48000Hz L,C,R,SL,SR,LFE "},
    {"dts_junk101_stereo_768k.dts", "DTS 768kbps 48000Hz stereo "},
};

bool IsDts(const std::string& name) { return name.ends_with(".dts"); }

bool Analyse(const std::string& path, TrackSlots& slots) {
  const TrackKind kind = IsDts(path) ? TrackKind::Dts : TrackKind::Ac3;
  return ShowRawFile(path, kind, RunSettings{}, slots).tracks[0].has_value();
}

TEST_F(RawFileFixtures, FirstFrameBehindOtherData) {
  for (const RawCase& c : kFound) {
    const std::string path = (kRaw / c.file).string();
    TrackSlots slots;
    EXPECT_TRUE(Analyse(path, slots)) << c.file;
    ASSERT_EQ(slots.Rows().size(), 1u) << c.file;
    EXPECT_TRUE(slots.Rows()[0].kind.starts_with(c.kind_start))
        << c.file << ": " << slots.Rows()[0].kind;
    EXPECT_TRUE(slots.PageHasText(0)) << c.file;
    EXPECT_EQ(slots.ListReport().size(), 4u) << c.file;
  }
}

TEST_F(RawFileFixtures, ByteSwappedStreamsAreNotRecognised) {
  for (const char* file : {"ac3_byteswapped_stereo_192k.ac3", "dts_byteswapped_5.1_768k.dts"}) {
    TrackSlots slots;
    EXPECT_FALSE(Analyse((kRaw / file).string(), slots)) << file;
    EXPECT_EQ(slots.Rows().size(), 8u) << file;
    EXPECT_EQ(slots.ListedSlotMask(), 0) << file;
  }
}

TEST_F(RawFileFixtures, StraySyncWordIsTakenForTheFrame) {
  // A stray 0B 77 lies at offset 40, before the real 192 kbps stereo frames.
  const std::filesystem::path path = kRaw / "ac3_false_sync_stereo_192k.ac3";
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GE(bytes.size(), 40u + 19u);
  ASSERT_EQ(bytes[40], 0x0B);
  ASSERT_EQ(bytes[41], 0x77);
  std::array<std::uint8_t, 19> header{};
  std::copy_n(bytes.begin() + 40, header.size(), header.begin());
  const Ac3Analysis direct = AnalyseAc3Frame(header.data(), 4);

  TrackSlots slots;
  EXPECT_TRUE(ShowRawFile(path.string(), TrackKind::Ac3, RunSettings{}, slots).tracks[0]);
  ASSERT_EQ(slots.Rows().size(), 1u);
  EXPECT_EQ(slots.Rows()[0].kind, "AC-3 " + direct.description.summary);
  EXPECT_EQ(slots.PageLines(0), direct.description.lines);
  EXPECT_FALSE(slots.Rows()[0].kind.starts_with("AC-3 192kbps 48000Hz 2ch(2/0) L,R "))
      << slots.Rows()[0].kind;
}

}  // namespace
}  // namespace tonvika
