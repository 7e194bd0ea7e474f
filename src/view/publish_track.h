#pragma once
// A published track as the window shows it: the row's kind text and the
// detail page of its slot.

#include <functional>
#include <string>

#include "mpeg/track_kind.h"

namespace tonvika {

class TrackSlots;

// " [name]" for a language code, nothing for an empty code or "none";
// `language_name` turns a code into its display name (the code itself
// without one).
std::string LanguagePart(const std::string& code, const std::function<std::string(const std::string&)>& language_name);

// The row text of a track: the kind prefix, the summary, the language part
// and, for AC-3, the sync trace when `sync_trace` is on, then a blank.
std::string KindTextOf(const PublishedTrack& track, const std::string& language_part, bool sync_trace);

// Writes the track into slot `slot`: its kind text, its detail lines (the
// page keeps its old text for LPCM, which has none) and the slot's bits in
// the masks. A slot that is taken is left alone.
void ShowPublishedTrack(TrackSlots& slots, int slot, const PublishedTrack& track, const std::string& language_part);

}  // namespace tonvika
