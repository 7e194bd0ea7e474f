#pragma once
// The declared streams beside the tracks found: one row per IFO audio entry,
// with the track that took its language, then a row for each track that no
// entry describes.

#include <optional>
#include <string>
#include <vector>

#include "dvd/ifo_declared.h"
#include "analysis/stream_notes.h"

namespace tonvika {

struct StreamOverviewRow {
  std::optional<int> entry;      // the IFO entry; none for a track no entry describes
  std::string declared;          // the entry in short (DescribeDeclaredEntry); empty without one
  std::optional<int> stream_id;  // where the entry's stream travels, as its chain says; the track's own otherwise
  std::optional<int> slot;       // the slot of the track found for it
};

std::vector<StreamOverviewRow> OverviewStreams(const DeclaredAudio& declared, const FoundTracks& tracks);

// The stream id an entry's stream travels in: a private stream 1 sub-stream
// number, or the PES stream id 0xC0 + n of MPEG audio; none for an entry the
// first program chain does not play.
std::optional<int> DeclaredStreamId(const DeclaredAudioEntry& entry);

}  // namespace tonvika
