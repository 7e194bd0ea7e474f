#pragma once
// Which IFO audio entry describes a track found in the program stream. A
// track of kind K from physical stream n (sub-stream SubStreamBase(K) + n) is
// the entry that the title's first program chain declares available for
// stream n with a coding of kind K. Without such an entry (no IFO, no
// readable chain, or a chain that declares nothing there) entry n is taken,
// as the slot rule pairs them.

#include <array>
#include <optional>

#include "dvd/ifo_audio.h"
#include "dvd/ifo_declared.h"
#include "mpeg/stream_kind.h"
#include "mpeg/track_kind.h"

namespace tonvika {

// Whether an entry's coding mode is the coding of a kind of track. MPEG
// audio is declared as MPEG-1 (2) or MPEG-2 (3); an extension stream belongs
// to the MPEG audio stream of its number.
bool CodingMatches(std::uint8_t coding_mode, TrackKind kind);
bool CodingMatches(std::uint8_t coding_mode, StreamKind kind);

constexpr StreamKind StreamKindOf(TrackKind kind) {
  switch (kind) {
    case TrackKind::Ac3: return StreamKind::Ac3;
    case TrackKind::Dts: return StreamKind::Dts;
    case TrackKind::Lpcm: return StreamKind::Lpcm;
  }
  return StreamKind::Ac3;
}

// The first stream id of each kind: stream n is that id + n.
int StreamIdBase(StreamKind kind);

// The entry the first program chain declares for the track; nothing when it
// declares none. Of two entries declaring the same stream the first counts.
std::optional<int> DeclaredEntryFor(const DeclaredAudio& declared, TrackKind kind, int stream);
std::optional<int> DeclaredEntryFor(const DeclaredAudio& declared, StreamKind kind, int stream);

// The entry whose language the track takes: the declared one, else `stream`.
int LanguageEntryFor(const DeclaredAudio& declared, TrackKind kind, int stream);
int LanguageEntryFor(const DeclaredAudio& declared, StreamKind kind, int stream);

// The language code of each slot for each kind of track that may take it,
// indexed by TrackKind.
using TrackLanguageCodes = std::array<LanguageCodes, 3>;
TrackLanguageCodes LanguageCodesByKind(const LanguageCodes& entry_codes, const DeclaredAudio& declared);

// The same code for every kind: the slot rule alone.
TrackLanguageCodes SameCodesForEveryKind(const LanguageCodes& entry_codes);

}  // namespace tonvika
