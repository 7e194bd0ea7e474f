#include "view/window_run.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../support/scratch_dir.h"
#include "io/file_error.h"
#include "view/track_slots.h"
#include "codecs/ac3_frame.h"
#include "codecs/dts_frame.h"

namespace tonvika {
namespace {

using testing::ScratchDir;
using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

// A 448 kbps, 48 kHz, 3/2 + LFE frame head (bsid 8), frame bytes 0 to 8;
// the bytes after them are zero.
const Bytes kAc3Frame = {0x0B, 0x77, 0x12, 0x34, 0x1E, 0x40, 0xE1, 0xD8, 0x40};
const char* const kAc3Kind = "AC-3 448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM";
const Lines kAc3Lines = {
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
};

// A 768 kbps, 48 kHz, 3/2 + LFE, 24-bit core header, frame bytes 0 to 14.
const Bytes kDtsFrame = {0x7F, 0xFE, 0x80, 0x01, 0xFC, 0x3C, 0x3E, 0xD2,
                         0x75, 0xE0, 0x0A, 0x39, 0x80, 0x00, 0x00};
const char* const kDtsKind = "DTS 768kbps 48000Hz L,C,R,SL,SR,LFE 24bit";

Bytes Filler(std::size_t size) { return Bytes(size, 0x55); }

Bytes Join(Bytes head, const Bytes& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// The state a video-object run leaves behind: four tracks with details.
TrackSlots AfterFourTracks() {
  TrackSlots slots;
  for (int n = 0; n < 4; ++n) {
    slots.SetKindText(n, "AC-3 old " + std::to_string(n));
    slots.AppendLine(n, "old line " + std::to_string(n));
  }
  slots.ShowTab(5, false);
  slots.ClearListReport();
  slots.AppendListReportLine("old report");
  slots.SetListedSlotMask(0x0F);
  slots.SetDetailSlotMask(0x0F);
  return slots;
}

void ExpectUntouchedList(const TrackSlots& slots) {
  ASSERT_EQ(slots.Rows().size(), 8u);
  for (int n = 0; n < 4; ++n) EXPECT_EQ(slots.KindText(n), "AC-3 old " + std::to_string(n));
  EXPECT_EQ(slots.ListReport(), Lines{"old report"});
  EXPECT_EQ(slots.ListedSlotMask(), 0x0F);
  EXPECT_EQ(slots.DetailSlotMask(), 0x0F);
  EXPECT_EQ(slots.PageLines(1), Lines{"old line 1"});
}

void ExpectSingleTrack(const TrackSlots& slots, const std::string& path, const std::string& kind) {
  ASSERT_EQ(slots.Rows().size(), 1u);
  EXPECT_EQ(slots.Rows()[0].number, "1");
  EXPECT_EQ(slots.Rows()[0].kind, kind);
  EXPECT_EQ(slots.ListedSlotMask(), 1);
  EXPECT_EQ(slots.DetailSlotMask(), 1);
  EXPECT_EQ(slots.ListReport(), (Lines{path, "----------", "List", kind}));
}

// What the analyses give for the frame whose sync word starts at `at`.
struct Direct {
  std::string kind;
  Lines lines;
};

Direct DirectAc3(const Bytes& file, std::size_t at) {
  std::array<std::uint8_t, 19> header{};
  for (std::size_t i = 0; i < header.size() && at + i < file.size(); ++i) header[i] = file[at + i];
  const Ac3Analysis analysis = AnalyseAc3Frame(header.data(), 4);
  return {"AC-3 " + analysis.description.summary, analysis.description.lines};
}

Direct DirectDts(const Bytes& file, std::size_t at) {
  DtsHeaderBytes header{};
  for (std::size_t i = 0; i < header.size() && at + 4 + i < file.size(); ++i) {
    header[i] = file[at + 4 + i];
  }
  const DtsAnalysis analysis = AnalyseDtsFrame(header);
  return {"DTS" + analysis.description.summary, analysis.description.lines};
}

// ---------------------------------------------------------------- AC-3

TEST(AnalyseAc3File, FrameAtTheStart) {
  ScratchDir dir;
  const std::string path = dir.Write("movie.ac3", Join(kAc3Frame, Bytes(10, 0x00)));
  TrackSlots slots = AfterFourTracks();
  slots.AppendLine(0, "left over");
  EXPECT_TRUE(ShowRawFile(path, TrackKind::Ac3, RunSettings{}, slots).tracks[0]);
  ExpectSingleTrack(slots, path, kAc3Kind);
  EXPECT_EQ(slots.PageLines(0), kAc3Lines);
  EXPECT_EQ(slots.PageLines(1), Lines{"old line 1"});  // other pages keep their text
  EXPECT_FALSE(slots.TabShown(5));                      // tabs are the run's business
}

TEST(AnalyseAc3File, HeaderPastTheEndReadsAsZero) {
  ScratchDir dir;
  const std::string path = dir.Write("tail.ac3", Join(Filler(5000), kAc3Frame));
  TrackSlots slots;
  EXPECT_TRUE(ShowRawFile(path, TrackKind::Ac3, RunSettings{}, slots).tracks[0]);
  ExpectSingleTrack(slots, path, kAc3Kind);
  EXPECT_EQ(slots.PageLines(0), kAc3Lines);
}

TEST(AnalyseAc3File, ChanceSyncWordBeforeTheFrameIsTaken) {
  ScratchDir dir;
  const Bytes bytes = Join(Join({0x55, 0x55, 0x55, 0x0B, 0x77, 0x01, 0x02, 0x03, 0x04, 0x95, 0xC0},
                                Filler(20)),
                           Join(kAc3Frame, Bytes(10, 0x00)));
  const std::string path = dir.Write("chance.ac3", bytes);
  TrackSlots slots;
  EXPECT_TRUE(ShowRawFile(path, TrackKind::Ac3, RunSettings{}, slots).tracks[0]);
  const Direct expected = DirectAc3(bytes, 3);
  ExpectSingleTrack(slots, path, expected.kind);
  EXPECT_EQ(slots.PageLines(0), expected.lines);
  EXPECT_NE(expected.kind, kAc3Kind);
}

TEST(AnalyseAc3File, UnsupportedBsidGivesBarePrefix) {
  ScratchDir dir;
  const Bytes bytes = Join({0x0B, 0x77, 0x00, 0x00, 0x1E, 0x50, 0xE0}, Bytes(12, 0x00));
  const std::string path = dir.Write("bsid10.ac3", bytes);
  TrackSlots slots = AfterFourTracks();
  EXPECT_TRUE(ShowRawFile(path, TrackKind::Ac3, RunSettings{}, slots).tracks[0]);
  ExpectSingleTrack(slots, path, "AC-3 ");
  EXPECT_FALSE(slots.PageHasText(0));
}

TEST(AnalyseAc3File, NoSyncWordChangesNothingButPageOne) {
  ScratchDir dir;
  for (const Bytes& bytes : {Filler(100000), Bytes{0x77, 0x0B, 0x12, 0x34, 0x77, 0x0B}, Bytes{0x0B},
                             Bytes{}}) {
    TrackSlots slots = AfterFourTracks();
    EXPECT_FALSE(ShowRawFile(dir.Write("none.ac3", bytes), TrackKind::Ac3, RunSettings{}, slots).tracks[0]);
    ExpectUntouchedList(slots);
    EXPECT_FALSE(slots.PageHasText(0));  // cleared before the file is read
  }
}

TEST(AnalyseAc3File, FileThatCannotBeOpened) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.File("folder.ac3"));
  const std::string fifo = dir.File("pipe.ac3");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0) << std::strerror(errno);
  for (const std::string& path : {dir.File("folder.ac3"), fifo, dir.File("missing.ac3")}) {
    TrackSlots slots = AfterFourTracks();
    EXPECT_THROW(ShowRawFile(path, TrackKind::Ac3, RunSettings{}, slots), FileError) << path;
    ExpectUntouchedList(slots);
    EXPECT_FALSE(slots.PageHasText(0));
  }
}

// ---------------------------------------------------------------- DTS

TEST(AnalyseDtsFile, FrameAfterOtherData) {
  ScratchDir dir;
  const Bytes bytes = Join(Filler(100), Join(kDtsFrame, Bytes(100, 0x00)));
  const std::string path = dir.Write("movie.dts", bytes);
  TrackSlots slots = AfterFourTracks();
  EXPECT_TRUE(ShowRawFile(path, TrackKind::Dts, RunSettings{}, slots).tracks[0]);
  ExpectSingleTrack(slots, path, kDtsKind);
  EXPECT_EQ(slots.PageLines(0), DirectDts(bytes, 100).lines);
  EXPECT_EQ(slots.PageLines(0).size(), 21u);
  EXPECT_EQ(slots.PageLines(1), Lines{"old line 1"});
  EXPECT_FALSE(slots.TabShown(5));
}

TEST(AnalyseDtsFile, FrameAtAnOddOffset) {
  ScratchDir dir;
  const std::string path = dir.Write("odd.dts", Join(Filler(101), kDtsFrame));
  TrackSlots slots;
  EXPECT_TRUE(ShowRawFile(path, TrackKind::Dts, RunSettings{}, slots).tracks[0]);
  ExpectSingleTrack(slots, path, kDtsKind);
}

TEST(AnalyseDtsFile, HeaderPastTheEndReadsAsZero) {
  ScratchDir dir;
  // The frame is cut after byte 12: bytes 13 and 14 read as zero, as they
  // are in the full frame.
  const Bytes bytes = Join(Filler(7), Bytes(kDtsFrame.begin(), kDtsFrame.begin() + 13));
  const std::string path = dir.Write("tail.dts", bytes);
  TrackSlots slots;
  EXPECT_TRUE(ShowRawFile(path, TrackKind::Dts, RunSettings{}, slots).tracks[0]);
  ExpectSingleTrack(slots, path, kDtsKind);

  // Only the sync word is left.
  const Bytes sync_only = {0x55, 0x7F, 0xFE, 0x80, 0x01};
  const std::string short_path = dir.Write("sync-only.dts", sync_only);
  TrackSlots short_slots;
  EXPECT_TRUE(ShowRawFile(short_path, TrackKind::Dts, RunSettings{}, short_slots).tracks[0]);
  const Direct expected = DirectDts(sync_only, 1);
  ExpectSingleTrack(short_slots, short_path, expected.kind);
  EXPECT_EQ(short_slots.PageLines(0), expected.lines);
}

TEST(AnalyseDtsFile, NoSyncWordChangesNothing) {
  ScratchDir dir;
  const Bytes swapped = {0x55, 0xFE, 0x7F, 0x01, 0x80, 0x3C, 0xFC, 0xD2, 0x3E};
  for (const Bytes& bytes : {Filler(100000), swapped, Bytes{0x7F, 0xFE, 0x80}, Bytes{}}) {
    TrackSlots slots = AfterFourTracks();
    EXPECT_FALSE(ShowRawFile(dir.Write("none.dts", bytes), TrackKind::Dts, RunSettings{}, slots).tracks[0]);
    ExpectUntouchedList(slots);
    EXPECT_EQ(slots.PageLines(0), Lines{"old line 0"});  // page one keeps its text
  }
}

TEST(AnalyseDtsFile, FileThatCannotBeOpened) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.File("folder.dts"));
  const std::string fifo = dir.File("pipe.dts");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0) << std::strerror(errno);
  for (const std::string& path : {dir.File("folder.dts"), fifo, dir.File("missing.dts")}) {
    TrackSlots slots = AfterFourTracks();
    EXPECT_THROW(ShowRawFile(path, TrackKind::Dts, RunSettings{}, slots), FileError) << path;
    ExpectUntouchedList(slots);
    EXPECT_EQ(slots.PageLines(0), Lines{"old line 0"});
  }
}

// ---------------------------------------------------------------- both

TEST(ElementaryFiles, OneRowWhateverCameBefore) {
  ScratchDir dir;
  const std::string ac3 = dir.Write("a.ac3", Join(kAc3Frame, Bytes(10, 0x00)));
  const std::string dts = dir.Write("b.dts", kDtsFrame);
  TrackSlots slots = AfterFourTracks();
  EXPECT_TRUE(ShowRawFile(dts, TrackKind::Dts, RunSettings{}, slots).tracks[0]);
  ExpectSingleTrack(slots, dts, kDtsKind);
  EXPECT_TRUE(ShowRawFile(ac3, TrackKind::Ac3, RunSettings{}, slots).tracks[0]);
  ExpectSingleTrack(slots, ac3, kAc3Kind);
  EXPECT_EQ(slots.PageLines(0), kAc3Lines);
}

}  // namespace
}  // namespace tonvika
