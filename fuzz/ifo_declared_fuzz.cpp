// What an IFO declares, over any bytes, set against a window log and tracks
// drawn from the same input: the reader, the mapping, the notes and the
// overview must hold their ranges whatever the IFO says.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "dvd/ifo_declared.h"
#include "analysis/stream_mapping.h"
#include "analysis/stream_notes.h"
#include "analysis/stream_overview.h"
#include "lang/text_encoding.h"

namespace {

using namespace tonvika;

void Check(bool condition) {
  if (!condition) std::abort();
}

// The first byte says which slots hold a track, the second of which kind;
// the next bytes are sub-streams met, one packet each.
FoundTracks TracksFrom(std::span<const std::uint8_t> input) {
  FoundTracks tracks;
  if (input.size() < 2) return tracks;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if ((input[0] >> slot & 1) == 0) continue;
    const auto kind = static_cast<TrackKind>(((input[1] >> slot) & 1) + ((input[1] >> 7) & 1));
    tracks[static_cast<std::size_t>(slot)] = PublishedTrack{kind, SubStreamBase(kind) + slot, Ac3Header{}, {}, {}};
  }
  return tracks;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  const DeclaredAudio declared = ReadDeclaredAudio(input);
  Check(declared.entries.size() <= kAudioEntryCount);
  for (const DeclaredAudioEntry& entry : declared.entries) {
    Check(entry.channels >= 1 && entry.channels <= 8);
    Check(!entry.stream_number || (*entry.stream_number >= 0 && *entry.stream_number <= 7));
    Check(IsValidUtf8(DescribeDeclaredEntry(entry)));
  }
  const FoundTracks tracks = TracksFrom(input);
  SubStreamLog log;
  for (std::size_t i = 2; i < size && i < 64; ++i) log.Record(data[i], i, (data[i] & 1) != 0);
  for (const TrackKind kind : {TrackKind::Ac3, TrackKind::Dts, TrackKind::Lpcm}) {
    for (int n = 0; n < kSlotCount; ++n) {
      const int entry = LanguageEntryFor(declared, kind, n);
      Check(entry >= 0 && entry < kAudioEntryCount);
    }
  }
  for (const RunNote& note : ReconcileStreams(declared, log, tracks, {size, (size & 1) != 0})) {
    Check(!note.text.empty() && IsValidUtf8(note.text));
    Check(!note.stream_id || (*note.stream_id >= 0 && *note.stream_id <= 0xFF));
  }
  // Every track found stands in exactly one row.
  int placed = 0;
  for (const StreamOverviewRow& row : OverviewStreams(declared, tracks)) {
    if (row.slot) {
      Check(tracks[static_cast<std::size_t>(*row.slot)].has_value());
      ++placed;
    }
  }
  int found = 0;
  for (const auto& track : tracks) found += track.has_value() ? 1 : 0;
  Check(placed == found);
  return 0;
}
