#include "view/details_text.h"

#include "view/track_slots.h"

namespace tonvika {

std::string BuildDetailsText(const std::string& path, const TrackSlots& slots,
                             std::string_view eol) {
  std::string text = path;
  text += eol;
  for (int n = 0; n < kSlotCount; ++n) {
    if (!slots.TabShown(n)) continue;
    text += "----------";
    text += eol;
    text += "Tr " + std::to_string(n + 1);
    text += eol;
    text += slots.KindText(n);
    text += eol;
    text += slots.PageText(n, eol);
  }
  return text;
}

}  // namespace tonvika
