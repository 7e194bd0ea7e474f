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

bool CodingMatches(std::uint8_t coding_mode, StreamKind kind) {
  switch (kind) {
    case StreamKind::Ac3: return CodingMatches(coding_mode, TrackKind::Ac3);
    case StreamKind::Dts: return CodingMatches(coding_mode, TrackKind::Dts);
    case StreamKind::Lpcm: return CodingMatches(coding_mode, TrackKind::Lpcm);
    case StreamKind::MpegAudio:
    case StreamKind::MpegAudioExtension: return coding_mode == kCodingMpeg1 || coding_mode == kCodingMpeg2;
  }
  return false;
}

int StreamIdBase(StreamKind kind) {
  switch (kind) {
    case StreamKind::Ac3: return SubStreamBase(TrackKind::Ac3);
    case StreamKind::Dts: return SubStreamBase(TrackKind::Dts);
    case StreamKind::Lpcm: return SubStreamBase(TrackKind::Lpcm);
    case StreamKind::MpegAudio: return 0xC0;
    case StreamKind::MpegAudioExtension: return 0xD0;
  }
  return 0;
}

std::optional<int> DeclaredEntryFor(const DeclaredAudio& declared, StreamKind kind, int stream) {
  if (declared.FirstChain() == nullptr) return std::nullopt;
  for (const DeclaredAudioEntry& entry : declared.entries) {
    if (entry.stream_number == stream && CodingMatches(entry.coding_mode, kind)) return entry.index;
  }
  return std::nullopt;
}

std::optional<int> DeclaredEntryFor(const DeclaredAudio& declared, TrackKind kind, int stream) {
  return DeclaredEntryFor(declared, StreamKindOf(kind), stream);
}

int LanguageEntryFor(const DeclaredAudio& declared, StreamKind kind, int stream) {
  return DeclaredEntryFor(declared, kind, stream).value_or(stream);
}

int LanguageEntryFor(const DeclaredAudio& declared, TrackKind kind, int stream) {
  return LanguageEntryFor(declared, StreamKindOf(kind), stream);
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
