#include "cli/text_output.h"

#include "view/details_text.h"
#include "view/track_slots.h"

namespace tonvika::cli {

std::string FormatText(const std::string& path, const TrackSlots& slots, bool details,
                       std::string_view eol) {
  std::string text = slots.ListReportText(eol);
  if (details && slots.DetailSlotMask() != 0) text += BuildDetailsText(path, slots, eol);
  return text;
}

}  // namespace tonvika::cli
