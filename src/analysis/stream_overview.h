#pragma once
// The declared streams beside the tracks found: one row per IFO audio entry,
// with the track that took its language, then a row for each track that no
// entry describes.

#include <optional>
#include <string>
#include <vector>

#include "analysis/ifo_declared.h"
#include "analysis/stream_notes.h"

namespace tonvika {

struct StreamOverviewRow {
  std::optional<int> entry;      // the IFO entry; none for a track no entry describes
  std::string declared;          // the entry in short (DescribeDeclaredEntry); empty without one
  std::optional<int> stream_id;  // where the entry's stream travels, as its chain says; the track's own otherwise
  std::optional<int> slot;       // the slot of the track found for it
};

std::vector<StreamOverviewRow> OverviewStreams(const DeclaredAudio& declared, const FoundTracks& tracks);

// The sub-stream an entry's stream travels in: none for an entry the first
// program chain does not play, and for MPEG audio (packets of its own).
std::optional<int> DeclaredStreamId(const DeclaredAudioEntry& entry);

}  // namespace tonvika
