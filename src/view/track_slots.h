#pragma once
// The eight audio track slots and the window-wide state of the last run.
// The window displays this model and the command-line tool prints it; the
// analyses and the run change it only through the operations below.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "mpeg/track_kind.h"

namespace tonvika {

struct ListRow {
  std::string number;  // first column ("Tr")
  std::string kind;    // second column ("種類"): the slot's kind text
};

class TrackSlots {
 public:
  TrackSlots();  // eight empty rows, all tabs shown, detail area shown

  // Kind text of slot n: the second column of row n. A slot without a row
  // (after an elementary file) reads as free; setting it then does nothing.
  const std::string& KindText(int n) const;
  void SetKindText(int n, std::string text);
  bool IsTaken(int n) const { return !KindText(n).empty(); }

  // Detail page n: lines, each shown followed by a line break.
  void ClearPage(int n);
  void AppendLine(int n, std::string line);
  void SetPageText(int n, const std::string& text);  // splits at CR LF, CR, LF
  bool PageHasText(int n) const;
  const std::vector<std::string>& PageLines(int n) const;
  std::string PageText(int n, std::string_view eol = "\r\n") const;

  void ShowTab(int n, bool shown);
  bool TabShown(int n) const;

  void RemoveAllRows();
  void AddEightRows();
  void AddSingleRow(std::string number, std::string kind);
  const std::vector<ListRow>& Rows() const { return rows_; }

  void ShowDetailArea(bool shown) { detail_area_shown_ = shown; }
  bool DetailAreaShown() const { return detail_area_shown_; }

  void ClearListReport() { list_report_.clear(); }
  void AppendListReportLine(std::string line);
  const std::vector<std::string>& ListReport() const { return list_report_; }
  std::string ListReportText(std::string_view eol = "\r\n") const;

  std::uint8_t ListedSlotMask() const { return listed_slot_mask_; }
  void SetListedSlotMask(std::uint8_t mask) { listed_slot_mask_ = mask; }
  std::uint8_t DetailSlotMask() const { return detail_slot_mask_; }
  void SetDetailSlotMask(std::uint8_t mask) { detail_slot_mask_ = mask; }
  bool SyncTraceEnabled() const { return sync_trace_enabled_; }
  void SetSyncTraceEnabled(bool on) { sync_trace_enabled_ = on; }

 private:
  struct Page {
    std::vector<std::string> lines;
    bool tab_shown = true;
  };
  std::vector<ListRow> rows_;
  std::array<Page, kSlotCount> pages_;
  std::vector<std::string> list_report_;
  bool detail_area_shown_ = true;
  std::uint8_t listed_slot_mask_ = 0;
  std::uint8_t detail_slot_mask_ = 0;
  bool sync_trace_enabled_ = false;
};

}  // namespace tonvika
