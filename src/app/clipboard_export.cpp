#include "app/clipboard_export.h"

#include <QtGlobal>

#include "view/details_text.h"
#include "view/track_slots.h"

namespace tonvika {

namespace {
constexpr const char* kCrLf = "\r\n";
// Shown by the window in its language.
constexpr const char* kListEmpty = QT_TRANSLATE_NOOP("tonvika::TForm1", "リストが空欄です");
constexpr const char* kNoDetails = QT_TRANSLATE_NOOP("tonvika::TForm1", "AC-3の解析結果がありません");
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
