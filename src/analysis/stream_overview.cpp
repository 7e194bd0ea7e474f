#include "analysis/stream_overview.h"

#include "analysis/stream_mapping.h"

namespace tonvika {

std::optional<int> DeclaredStreamId(const DeclaredAudioEntry& entry) {
  if (!entry.stream_number) return std::nullopt;
  for (const StreamKind kind : {StreamKind::Ac3, StreamKind::Dts, StreamKind::Lpcm, StreamKind::MpegAudio}) {
    if (CodingMatches(entry.coding_mode, kind)) return StreamIdBase(kind) + *entry.stream_number;
  }
  return std::nullopt;
}

std::vector<StreamOverviewRow> OverviewStreams(const DeclaredAudio& declared, const FoundTracks& tracks) {
  // Each track goes beside the entry its language came from.
  std::array<std::optional<int>, kSlotCount> entry_of_slot;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (const auto& track = tracks[static_cast<std::size_t>(slot)]) {
      entry_of_slot[static_cast<std::size_t>(slot)] = LanguageEntryFor(declared, track->kind, slot);
    }
  }
  std::vector<StreamOverviewRow> rows;
  std::array<bool, kSlotCount> shown{};
  for (const DeclaredAudioEntry& entry : declared.entries) {
    StreamOverviewRow row{entry.index, DescribeDeclaredEntry(entry), DeclaredStreamId(entry), std::nullopt};
    for (int slot = 0; slot < kSlotCount; ++slot) {
      if (!shown[static_cast<std::size_t>(slot)] && entry_of_slot[static_cast<std::size_t>(slot)] == entry.index) {
        row.slot = slot;
        shown[static_cast<std::size_t>(slot)] = true;
        break;
      }
    }
    rows.push_back(std::move(row));
  }
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const auto& track = tracks[static_cast<std::size_t>(slot)];
    if (!track || shown[static_cast<std::size_t>(slot)]) continue;
    rows.push_back({std::nullopt, {}, track->stream_id, slot});
  }
  return rows;
}

}  // namespace tonvika
