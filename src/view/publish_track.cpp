#include "view/publish_track.h"

#include "view/track_slots.h"

namespace tonvika {

std::string LanguagePart(const std::string& code,
                         const std::function<std::string(const std::string&)>& language_name) {
  if (code.empty() || code == "none") return {};
  return " [" + (language_name ? language_name(code) : code) + "]";
}

std::string KindTextOf(const PublishedTrack& track, const std::string& language_part, bool sync_trace) {
  const std::string& summary = track.description.summary;
  switch (track.kind) {
    case TrackKind::Ac3: {
      std::string text = "AC-3 " + summary + language_part;
      if (sync_trace) text += track.sync_trace;
      return text + " ";
    }
    case TrackKind::Dts: return "DTS" + summary + language_part;
    case TrackKind::Lpcm: return "PCM " + summary + language_part;
  }
  return {};
}

void ShowPublishedTrack(TrackSlots& slots, int slot, const PublishedTrack& track, const std::string& language_part) {
  if (slot < 0 || slot >= kSlotCount || slots.IsTaken(slot)) return;
  if (track.kind != TrackKind::Lpcm) {
    slots.ClearPage(slot);
    for (const std::string& line : track.description.lines) slots.AppendLine(slot, line);
  }
  // Read at each publication: a toggle during the run affects later tracks.
  slots.SetKindText(slot, KindTextOf(track, language_part, slots.SyncTraceEnabled()));
  const auto bit = static_cast<std::uint8_t>(1u << slot);
  slots.SetListedSlotMask(slots.ListedSlotMask() | bit);
  if (track.kind != TrackKind::Lpcm) slots.SetDetailSlotMask(slots.DetailSlotMask() | bit);
}

}  // namespace tonvika
