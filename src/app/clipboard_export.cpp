#include "app/clipboard_export.h"

#include "analysis/details_text.h"
#include "analysis/track_slots.h"

namespace tonvika {

namespace {
constexpr const char* kCrLf = "\r\n";
constexpr const char* kListEmpty = "リストが空欄です";
constexpr const char* kNoDetails = "AC-3の解析結果がありません";
}  // namespace

ClipboardText ListExportText(const TrackSlots& slots) {
  if (slots.ListedSlotMask() == 0) return {{}, kListEmpty};
  return {slots.ListReportText(kCrLf), {}};
}

ClipboardText DetailsExportText(const std::string& path, const TrackSlots& slots) {
  if (slots.DetailSlotMask() == 0) return {{}, kNoDetails};
  return {BuildDetailsText(path, slots, kCrLf), {}};
}

}  // namespace tonvika
