#include "view/track_slots.h"

#include <gtest/gtest.h>

namespace tonvika {
namespace {

TEST(TrackSlots, StartsWithEightEmptyRowsAndZeroState) {
  TrackSlots slots;
  ASSERT_EQ(slots.Rows().size(), 8u);
  for (int n = 0; n < kSlotCount; ++n) {
    EXPECT_EQ(slots.Rows()[n].number, std::to_string(n + 1));
    EXPECT_EQ(slots.KindText(n), "");
    EXPECT_FALSE(slots.IsTaken(n));
    EXPECT_TRUE(slots.TabShown(n));
    EXPECT_FALSE(slots.PageHasText(n));
  }
  EXPECT_EQ(slots.ListedSlotMask(), 0);
  EXPECT_EQ(slots.DetailSlotMask(), 0);
  EXPECT_FALSE(slots.SyncTraceEnabled());
  EXPECT_TRUE(slots.DetailAreaShown());
}

TEST(TrackSlots, KindTextMakesSlotTakenEvenWithEmptyPage) {
  TrackSlots slots;
  slots.SetKindText(2, "PCM 16bit 48000Hz stereo");
  EXPECT_TRUE(slots.IsTaken(2));
  EXPECT_FALSE(slots.PageHasText(2));
}

TEST(TrackSlots, ClearingPageKeepsKindTextAndTab) {
  TrackSlots slots;
  slots.SetKindText(1, "AC-3 x");
  slots.ShowTab(1, false);
  slots.AppendLine(1, "bsid:8");
  slots.ClearPage(1);
  EXPECT_FALSE(slots.PageHasText(1));
  EXPECT_EQ(slots.KindText(1), "AC-3 x");
  EXPECT_FALSE(slots.TabShown(1));
}

TEST(TrackSlots, PageTextEndsEveryLineAndEmptyLinesCount) {
  TrackSlots slots;
  slots.AppendLine(0, "a");
  slots.AppendLine(0, "");
  slots.AppendLine(0, "b");
  EXPECT_EQ(slots.PageText(0), "a\r\n\r\nb\r\n");
  EXPECT_EQ(slots.PageText(0, "\n"), "a\n\nb\n");
}

TEST(TrackSlots, SetPageTextSplitsAllLineBreaks) {
  TrackSlots slots;
  slots.SetPageText(4, "x\r\ny\rz\nw");
  EXPECT_EQ(slots.PageLines(4), (std::vector<std::string>{"x", "y", "z", "w"}));
  slots.SetPageText(4, "x\r\n");
  EXPECT_EQ(slots.PageLines(4), (std::vector<std::string>{"x"}));
  slots.SetPageText(4, "");
  EXPECT_FALSE(slots.PageHasText(4));
}

TEST(TrackSlots, SingleRowLeavesOtherSlotsWithoutRows) {
  TrackSlots slots;
  slots.SetKindText(5, "DTS x");
  slots.RemoveAllRows();
  slots.AddSingleRow("1", "AC-3 y");
  ASSERT_EQ(slots.Rows().size(), 1u);
  EXPECT_EQ(slots.KindText(0), "AC-3 y");
  EXPECT_EQ(slots.KindText(5), "");
  slots.SetKindText(5, "ignored");
  EXPECT_EQ(slots.Rows().size(), 1u);
  slots.RemoveAllRows();
  slots.AddEightRows();
  EXPECT_EQ(slots.Rows().size(), 8u);
  EXPECT_EQ(slots.KindText(0), "");
}

TEST(TrackSlots, ListReportTextEndsEachLine) {
  TrackSlots slots;
  slots.AppendListReportLine("path");
  slots.AppendListReportLine("5 ");
  EXPECT_EQ(slots.ListReportText(), "path\r\n5 \r\n");
  EXPECT_EQ(slots.ListReportText("\n"), "path\n5 \n");
  slots.ClearListReport();
  EXPECT_EQ(slots.ListReportText(), "");
}

}  // namespace
}  // namespace tonvika
