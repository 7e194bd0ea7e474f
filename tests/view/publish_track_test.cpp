#include "view/publish_track.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/list_publisher.h"
#include "view/track_slots.h"

namespace tonvika {
namespace {

using Lines = std::vector<std::string>;

// A 5.1 448 kb/s frame (fscod 0, frmsizecod 30, bsid 8, acmod 7, lfeon 1)
// from byte 4 on, and a DTS core header of the same layout at 768 kb/s.
const std::vector<std::uint8_t> kAc3Frame = {0x0B, 0x77, 0x12, 0x34, 0x1E, 0x40, 0xE1, 0xD8, 0x40, 0,
                                             0,    0,    0,    0,    0,    0,    0,    0,    0};
constexpr DtsHeaderBytes kDtsHeader = {0xFC, 0x3C, 0x3E, 0xD2, 0x75, 0xE0, 0x0A, 0x39, 0x80, 0x00, 0x00};

TrackPublication Publication(TrackKind kind, int slot, std::vector<std::uint8_t>& frame) {
  TrackPublication publication{kind, slot};
  publication.buffer = frame.data();
  publication.frame_offset = 4;
  publication.dts_header = kDtsHeader;
  publication.lpcm_attribute = 0x01;
  return publication;
}

struct Case {
  TrackKind kind;
  std::size_t lines;  // on the slot's page
  int stream_id;
};

// Each kind lands in the report under its slot with its decoded header and
// sub-stream number; shown, it writes its lines on its own slot's page alone,
// replacing what was there.
TEST(ListPublisher, ReportsTheTrackAndTheViewWritesOnlyItsSlot) {
  for (const Case& c : {Case{TrackKind::Ac3, 10, 0x83}, Case{TrackKind::Dts, 21, 0x8B},
                        Case{TrackKind::Lpcm, 1, 0xA3}}) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    AnalysisReport report;
    const SyncTraces traces{};
    std::vector<int> published;
    ListPublisher publisher(report, {}, traces, [&](int slot) { published.push_back(slot); });
    auto frame = kAc3Frame;
    publisher.PublishTrack(Publication(c.kind, 3, frame));
    EXPECT_EQ(published, std::vector<int>{3});
    ASSERT_TRUE(report.tracks[3]);
    EXPECT_EQ(report.tracks[3]->kind, c.kind);
    EXPECT_EQ(report.tracks[3]->stream_id, c.stream_id);
    EXPECT_FALSE(publisher.IsSlotFree(3));

    TrackSlots slots;
    for (int n = 0; n < kSlotCount; ++n) slots.AppendLine(n, "old " + std::to_string(n));
    ShowPublishedTrack(slots, 3, *report.tracks[3], "");
    // LPCM has no detail lines: the old text stays until the run's end.
    ASSERT_EQ(slots.PageLines(3).size(), c.lines);
    if (c.kind != TrackKind::Lpcm) {
      EXPECT_NE(slots.PageLines(3).front(), "old 3");
    }
    for (int n = 0; n < kSlotCount; ++n) {
      if (n == 3) continue;
      EXPECT_EQ(slots.PageLines(n), Lines{"old " + std::to_string(n)}) << "page Tr" << n + 1;
    }
    EXPECT_FALSE(slots.KindText(3).empty());
  }
}

TEST(ListPublisher, TakenSlotIsNeitherAnalysedNorReported) {
  AnalysisReport report;
  report.tracks[1] = PublishedTrack{TrackKind::Lpcm, 0xA1, LpcmAttributes{}, {}, {}};
  const SyncTraces traces{};
  int reports = 0;
  ListPublisher publisher(report, {}, traces, [&](int) { ++reports; });
  auto frame = kAc3Frame;
  const auto untouched = frame;
  publisher.PublishTrack(Publication(TrackKind::Ac3, 1, frame));
  EXPECT_EQ(frame, untouched) << "the frame must not be read";
  EXPECT_EQ(reports, 0);
  EXPECT_EQ(report.tracks[1]->kind, TrackKind::Lpcm);
}

// A slot the window already shows keeps its row.
TEST(ShowPublishedTrack, LeavesATakenSlotAlone) {
  TrackSlots slots;
  slots.SetKindText(1, "PCM 16bit 48000Hz stereo");
  ShowPublishedTrack(slots, 1, PublishedTrack{TrackKind::Ac3, 0x81, Ac3Header{}, {{"line"}, "summary"}, {}}, "");
  EXPECT_FALSE(slots.PageHasText(1));
  EXPECT_EQ(slots.KindText(1), "PCM 16bit 48000Hz stereo");
}

}  // namespace
}  // namespace tonvika
