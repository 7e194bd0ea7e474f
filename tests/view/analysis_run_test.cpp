#include "view/window_run.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "io/file_error.h"
#include "view/track_slots.h"
#include "support/stream_builder.h"

namespace tonvika {
namespace {

using testing::Ac3Payload;
using testing::Bytes;
using testing::DtsPayload;
using testing::IfoWithLanguages;
using testing::LpcmPayload;
using testing::PrivateStream1Packet;
using testing::ScratchDir;

const std::string kAc3Kind = "AC-3 448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM";
const std::string kDtsKind = "DTS 768kbps 48000Hz L,C,R,SL,SR,LFE 24bit";

// Records what the run does to the window.
class FakeHost : public RunHost {
 public:
  std::string path;
  int read_size = 5;
  DisplayLanguage language = DisplayLanguage::Japanese;
  LanguageTable table = ParseLanguageTable("en,English,英語\nja,Japanese,日本語\nfr,French,フランス語\n");
  TrackSlots slots;
  std::array<std::string, 2> status;
  bool enabled = true;
  int pending_event_calls = 0;
  std::function<void()> on_pending_events;

  std::string FilePath() override { return path; }
  int ReadSizeMegabytes() override { return read_size; }
  DisplayLanguage Language() override { return language; }
  const LanguageTable& Languages() override { return table; }
  TrackSlots& Slots() override { return slots; }
  void SetStatus(int panel, const std::string& text) override { status.at(panel) = text; }
  void SetCommandsEnabled(bool on) override { enabled = on; }
  void ProcessPendingEvents() override {
    ++pending_event_calls;
    EXPECT_FALSE(enabled) << "events run while the commands are disabled";
    if (on_pending_events) on_pending_events();
  }
};

Bytes MixedStream() {
  Bytes vob;
  testing::Append(vob, PrivateStream1Packet(0xA2, LpcmPayload(0x01)));
  testing::Append(vob, PrivateStream1Packet(0x80, Ac3Payload(3)));
  testing::Append(vob, PrivateStream1Packet(0x89, DtsPayload()));
  testing::Append(vob, PrivateStream1Packet(0x82, Ac3Payload(3)));  // slot 2 is already LPCM
  vob.resize(vob.size() + 64, 0x00);
  return vob;
}

TEST(AnalysisRun, EmptyPathChangesNothing) {
  FakeHost host;
  host.slots.SetListedSlotMask(3);
  EXPECT_FALSE(RunAnalysis(host).changed);
  EXPECT_EQ(host.slots.ListedSlotMask(), 3);
  EXPECT_EQ(host.status[0], "");
}

TEST(AnalysisRun, VideoObjectFillsRowsReportTabsAndLanguages) {
  ScratchDir dir;
  FakeHost host;
  host.path = dir.Write("VIDEO_TS/VTS_01_1.VOB", MixedStream());
  const std::string ifo = dir.Write("VIDEO_TS/VTS_01_0.IFO", IfoWithLanguages({"en", "ja", "fr"}));
  const AnalysisReport outcome = RunAnalysis(host);

  EXPECT_TRUE(outcome.changed);
  EXPECT_EQ(outcome.ifo_path, ifo);
  EXPECT_EQ(host.slots.KindText(0), kAc3Kind + " [英語] ");
  EXPECT_EQ(host.slots.KindText(1), kDtsKind + " [日本語]");
  EXPECT_EQ(host.slots.KindText(2), "PCM 16bit 48000Hz stereo [フランス語]");
  EXPECT_EQ(host.slots.ListedSlotMask(), 0x07);
  EXPECT_EQ(host.slots.DetailSlotMask(), 0x03);
  EXPECT_EQ(outcome.tracks[0]->kind, TrackKind::Ac3);
  EXPECT_EQ(outcome.tracks[2]->kind, TrackKind::Lpcm);
  EXPECT_FALSE(outcome.tracks[3].has_value());

  const std::vector<std::string> report = {
      host.path, "----------", "List", "Tr", "1 " + host.slots.KindText(0), "2 " + host.slots.KindText(1),
      "3 " + host.slots.KindText(2), "4 ", "5 ", "6 ", "7 ", "8 "};
  EXPECT_EQ(host.slots.ListReport(), report);
  EXPECT_TRUE(host.slots.TabShown(0));
  EXPECT_TRUE(host.slots.TabShown(1));
  for (int n = 2; n < kSlotCount; ++n) EXPECT_FALSE(host.slots.TabShown(n)) << n;
  EXPECT_EQ(host.slots.PageLines(0).front(), "bsid:8");
  EXPECT_EQ(host.slots.PageLines(1).front(), "Frame Type: Normal frame");
  EXPECT_TRUE(host.slots.DetailAreaShown());
  EXPECT_EQ(host.status[0], "終わり");
  EXPECT_EQ(host.status[1], ifo);
  EXPECT_TRUE(host.enabled);
  EXPECT_EQ(host.pending_event_calls, 1 + 3);  // after the IFO, after each publication
}

TEST(AnalysisRun, EnglishNamesAndMissingCodesGiveNoLanguagePart) {
  ScratchDir dir;
  FakeHost host;
  host.language = DisplayLanguage::English;
  host.path = dir.Write("VTS_01_1.VOB", MixedStream());
  Bytes ifo = IfoWithLanguages({"en", "", "xx"});
  dir.Write("VTS_01_0.ifo", ifo);
  RunAnalysis(host);
  EXPECT_EQ(host.slots.KindText(0), kAc3Kind + " [English] ");
  EXPECT_EQ(host.slots.KindText(1), kDtsKind);  // "none"
  EXPECT_EQ(host.slots.KindText(2), "PCM 16bit 48000Hz stereo [xx]");  // not in the table
}

TEST(AnalysisRun, WithoutInformationFileThereIsNoLanguageAndNoPath) {
  ScratchDir dir;
  FakeHost host;
  host.path = dir.Write("movie.mpg", MixedStream());
  const AnalysisReport outcome = RunAnalysis(host);
  EXPECT_EQ(outcome.ifo_path, "");
  EXPECT_EQ(host.status[1], "");
  EXPECT_EQ(host.slots.KindText(0), kAc3Kind + " ");
  EXPECT_EQ(host.slots.KindText(2), "PCM 16bit 48000Hz stereo");
}

TEST(AnalysisRun, OnlyLpcmHidesTheDetailArea) {
  ScratchDir dir;
  FakeHost host;
  Bytes vob = PrivateStream1Packet(0xA0, LpcmPayload(0x15));
  testing::Append(vob, PrivateStream1Packet(0xA1, LpcmPayload(0x81)));
  vob.resize(vob.size() + 32, 0x00);
  host.path = dir.Write("a.vob", vob);
  RunAnalysis(host);
  EXPECT_EQ(host.slots.KindText(0), "PCM 16bit 96000Hz 6 channel multi");
  EXPECT_EQ(host.slots.KindText(1), "PCM 24bit 48000Hz stereo");
  EXPECT_EQ(host.slots.ListedSlotMask(), 0x03);
  EXPECT_EQ(host.slots.DetailSlotMask(), 0x00);
  EXPECT_FALSE(host.slots.DetailAreaShown());
}

TEST(AnalysisRun, NoTrackLeavesEightNumberedLines) {
  ScratchDir dir;
  FakeHost host;
  host.path = dir.Write("a.vob", Bytes(5000, 0x00));
  RunAnalysis(host);
  ASSERT_EQ(host.slots.ListReport().size(), 12u);
  for (int n = 0; n < kSlotCount; ++n) EXPECT_EQ(host.slots.ListReport()[4 + n], std::to_string(n + 1) + " ");
  EXPECT_EQ(host.slots.ListedSlotMask(), 0);
  EXPECT_FALSE(host.slots.DetailAreaShown());
}

TEST(AnalysisRun, Ac3WithUnknownBsidTakesSlotWithoutDetails) {
  ScratchDir dir;
  FakeHost host;
  const Bytes bsid10 = {0x0B, 0x77, 0x00, 0x00, 0x1E, 0x50, 0xE0};
  Bytes vob = PrivateStream1Packet(0x80, Ac3Payload(3, bsid10));
  vob.resize(vob.size() + 32, 0x00);
  host.path = dir.Write("a.vob", vob);
  dir.Write("0.ifo", IfoWithLanguages({"ja"}));  // "a" loses its last character
  RunAnalysis(host);
  EXPECT_EQ(host.slots.KindText(0), "AC-3  [日本語] ");
  EXPECT_EQ(host.slots.DetailSlotMask(), 0x01);
  EXPECT_FALSE(host.slots.TabShown(0));
}

TEST(AnalysisRun, SyncTraceEndsTheAc3Row) {
  ScratchDir dir;
  FakeHost host;
  host.slots.SetSyncTraceEnabled(true);
  Bytes vob = PrivateStream1Packet(0x80, Ac3Payload(3));
  vob.resize(vob.size() + 32, 0x00);
  host.path = dir.Write("a.vob", vob);
  RunAnalysis(host);
  // Frames at packet offsets 18, 58 and 98.
  EXPECT_EQ(host.slots.KindText(0),
            kAc3Kind + "[000012 1E 40 E1][00003A 1E 40 E1][000062 1E 40 E1] ");
}

TEST(AnalysisRun, ReadSizeBoundsTheWindow) {
  ScratchDir dir;
  Bytes vob(1 << 20, 0x00);  // the track starts just past the first megabyte
  testing::Append(vob, PrivateStream1Packet(0xA0, LpcmPayload(0x01)));
  vob.resize(vob.size() + 64, 0x00);
  for (const auto& [size, found] : {std::pair{1, false}, std::pair{2, true}, std::pair{20, true}}) {
    FakeHost host;
    host.read_size = size;
    host.path = dir.Write("a.vob", vob);
    RunAnalysis(host);
    EXPECT_EQ(host.slots.IsTaken(0), found) << "read size " << size;
  }
}

TEST(AnalysisRun, ElementaryExtensionsAreComparedInLowerCase) {
  ScratchDir dir;
  Bytes ac3 = {0x55};
  testing::Append(ac3, testing::kAc3Frame51);
  ac3.resize(64, 0x00);
  Bytes dts = {0x7F, 0xFE, 0x80, 0x01};
  testing::Append(dts, testing::kDtsHeader51);
  for (const auto& [name, bytes, kind] :
       {std::tuple{"x.AC3", ac3, kAc3Kind}, std::tuple{"x.Dts", dts, kDtsKind}}) {
    FakeHost host;
    host.path = dir.Write(name, bytes);
    const AnalysisReport outcome = RunAnalysis(host);
    EXPECT_TRUE(outcome.changed);
    ASSERT_EQ(host.slots.Rows().size(), 1u) << name;
    EXPECT_EQ(host.slots.KindText(0), kind);
    EXPECT_EQ(host.slots.ListedSlotMask(), 1);
    EXPECT_EQ(host.slots.DetailSlotMask(), 1);
    EXPECT_TRUE(host.slots.TabShown(0));
    EXPECT_FALSE(host.slots.TabShown(1));
    EXPECT_EQ(host.slots.ListReport(), (std::vector<std::string>{host.path, "----------", "List", kind}));
  }
}

TEST(AnalysisRun, EmptyVideoObjectChangesNothing) {
  ScratchDir dir;
  FakeHost host;
  host.slots.SetKindText(3, "PCM old");
  host.slots.SetListedSlotMask(8);
  host.path = dir.Write("empty.vob", Bytes{});
  EXPECT_FALSE(RunAnalysis(host).changed);
  EXPECT_EQ(host.slots.KindText(3), "PCM old");
  EXPECT_EQ(host.slots.ListedSlotMask(), 8);
  EXPECT_TRUE(host.enabled);
}

TEST(AnalysisRun, MissingOrNonRegularSourceIsAFileErrorThatChangesNothing) {
  ScratchDir dir;
  std::filesystem::create_directories(dir.File("folder.vob"));
  for (const auto& name : {"missing.vob", "folder.vob", "missing.ac3"}) {
    FakeHost host;
    host.slots.SetListedSlotMask(5);
    host.path = dir.File(name);
    EXPECT_THROW(RunAnalysis(host), FileError) << name;
    EXPECT_EQ(host.slots.ListedSlotMask(), 5);
    EXPECT_TRUE(host.enabled);
  }
}

TEST(AnalysisRun, FileErrorAfterDisablingRestoresTheCommands) {
  ScratchDir dir;
  FakeHost host;
  host.path = dir.Write("a.vob", MixedStream());
  host.on_pending_events = [&] { throw FileError(host.path, "gone"); };
  EXPECT_THROW(RunAnalysis(host), FileError);
  EXPECT_TRUE(host.enabled);
  EXPECT_EQ(host.status[0], "");
}

TEST(AnalysisRun, PathIsTakenOnceAtTheStart) {
  ScratchDir dir;
  FakeHost host;
  const std::string first = dir.Write("a.vob", MixedStream());
  host.path = first;
  host.on_pending_events = [&] { host.path = dir.File("other.vob"); };
  RunAnalysis(host);
  EXPECT_EQ(host.slots.ListReport().front(), first);
  EXPECT_TRUE(host.slots.IsTaken(0));
}

TEST(FileExtension, LastDotOfTheLastComponent) {
  const std::pair<const char*, const char*> cases[] = {
      {"/a/b.VOB", ".vob"}, {"x.Ac3", ".ac3"}, {"/dir.ac3/file", ""}, {"C:\\d.dts\\f", ""},
      {"name", ""},         {"a.b.DTS", ".dts"}, {"/x/.hidden", ".hidden"}, {"", ""},
  };
  for (const auto& [path, extension] : cases) EXPECT_EQ(FileExtension(path), extension) << path;
}

}  // namespace
}  // namespace tonvika
