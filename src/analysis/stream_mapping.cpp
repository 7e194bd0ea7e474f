#include "analysis/stream_mapping.h"

namespace tonvika {

bool CodingMatches(std::uint8_t coding_mode, TrackKind kind) {
  switch (kind) {
    case TrackKind::Ac3: return coding_mode == kCodingAc3;
    case TrackKind::Dts: return coding_mode == kCodingDts;
    case TrackKind::Lpcm: return coding_mode == kCodingLpcm;
  }
  return false;
}

std::optional<int> DeclaredEntryFor(const DeclaredAudio& declared, TrackKind kind, int stream) {
  if (declared.FirstChain() == nullptr) return std::nullopt;
  for (const DeclaredAudioEntry& entry : declared.entries) {
    if (entry.stream_number == stream && CodingMatches(entry.coding_mode, kind)) return entry.index;
  }
  return std::nullopt;
}

int LanguageEntryFor(const DeclaredAudio& declared, TrackKind kind, int stream) {
  return DeclaredEntryFor(declared, kind, stream).value_or(stream);
}

TrackLanguageCodes LanguageCodesByKind(const LanguageCodes& entry_codes, const DeclaredAudio& declared) {
  TrackLanguageCodes codes;
  for (const TrackKind kind : {TrackKind::Ac3, TrackKind::Dts, TrackKind::Lpcm}) {
    for (int n = 0; n < static_cast<int>(entry_codes.size()); ++n) {
      codes[static_cast<std::size_t>(kind)][static_cast<std::size_t>(n)] =
          entry_codes[static_cast<std::size_t>(LanguageEntryFor(declared, kind, n))];
    }
  }
  return codes;
}

TrackLanguageCodes SameCodesForEveryKind(const LanguageCodes& entry_codes) {
  return {entry_codes, entry_codes, entry_codes};
}

}  // namespace tonvika
