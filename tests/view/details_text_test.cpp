#include "view/details_text.h"

#include <gtest/gtest.h>

#include "view/track_slots.h"

namespace tonvika {
namespace {

TEST(DetailsText, PathThenOneBlockPerShownTab) {
  TrackSlots slots;
  slots.SetKindText(0, "AC-3 a ");
  slots.AppendLine(0, "bsid:8");
  slots.SetKindText(2, "AC-3 c ");
  slots.AppendLine(2, "bsid:6");
  slots.AppendLine(2, "");
  for (int n : {1, 3, 4, 5, 6, 7}) slots.ShowTab(n, false);
  EXPECT_EQ(BuildDetailsText("/d/VTS_01_1.VOB", slots),
            "/d/VTS_01_1.VOB\r\n"
            "----------\r\nTr 1\r\nAC-3 a \r\nbsid:8\r\n"
            "----------\r\nTr 3\r\nAC-3 c \r\nbsid:6\r\n\r\n");
  EXPECT_EQ(BuildDetailsText("p", slots, "\n").substr(0, 18), "p\n----------\nTr 1\n");
}

}  // namespace
}  // namespace tonvika
