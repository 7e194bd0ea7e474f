#include "view/track_slots.h"

#include <cassert>

namespace tonvika {

namespace {
const std::string kEmpty;
}

TrackSlots::TrackSlots() { AddEightRows(); }

const std::string& TrackSlots::KindText(int n) const {
  assert(n >= 0 && n < kSlotCount);
  return static_cast<std::size_t>(n) < rows_.size() ? rows_[n].kind : kEmpty;
}

void TrackSlots::SetKindText(int n, std::string text) {
  assert(n >= 0 && n < kSlotCount);
  if (static_cast<std::size_t>(n) < rows_.size()) rows_[n].kind = std::move(text);
}

void TrackSlots::ClearPage(int n) { pages_.at(n).lines.clear(); }

void TrackSlots::AppendLine(int n, std::string line) {
  pages_.at(n).lines.push_back(std::move(line));
}

void TrackSlots::SetPageText(int n, const std::string& text) {
  auto& lines = pages_.at(n).lines;
  lines.clear();
  std::string current;
  bool open = false;  // a line has begun and is not yet ended
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(current));
      current.clear();
      open = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current.push_back(c);
      open = true;
    }
  }
  if (open) lines.push_back(std::move(current));
}

bool TrackSlots::PageHasText(int n) const { return !pages_.at(n).lines.empty(); }

const std::vector<std::string>& TrackSlots::PageLines(int n) const {
  return pages_.at(n).lines;
}

std::string TrackSlots::PageText(int n, std::string_view eol) const {
  std::string text;
  for (const auto& line : pages_.at(n).lines) {
    text += line;
    text += eol;
  }
  return text;
}

void TrackSlots::ShowTab(int n, bool shown) { pages_.at(n).tab_shown = shown; }
bool TrackSlots::TabShown(int n) const { return pages_.at(n).tab_shown; }

void TrackSlots::RemoveAllRows() { rows_.clear(); }

void TrackSlots::AddEightRows() {
  for (int n = 0; n < kSlotCount; ++n) rows_.push_back({std::to_string(n + 1), {}});
}

void TrackSlots::AddSingleRow(std::string number, std::string kind) {
  rows_.push_back({std::move(number), std::move(kind)});
}

void TrackSlots::AppendListReportLine(std::string line) {
  list_report_.push_back(std::move(line));
}

std::string TrackSlots::ListReportText(std::string_view eol) const {
  std::string text;
  for (const auto& line : list_report_) {
    text += line;
    text += eol;
  }
  return text;
}

}  // namespace tonvika
