#pragma once
// The texts the two clipboard commands copy, or why they copy nothing.

#include <string>

namespace tonvika {

class TrackSlots;

struct ClipboardText {
  std::string text;     // lines ended by CR LF; what goes to the clipboard
  std::string refusal;  // the message shown instead, when not empty
};

// "リスト情報": the list report, refused while no slot was listed.
ClipboardText ListExportText(const TrackSlots& slots);

// "AC-3/DTS詳細情報": the path line and the shown detail pages, refused while
// no AC-3 or DTS track was found.
ClipboardText DetailsExportText(const std::string& path, const TrackSlots& slots);

}  // namespace tonvika
