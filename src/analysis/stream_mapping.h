#pragma once
// Which IFO audio entry describes a track found in the program stream. A
// track of kind K from physical stream n (sub-stream SubStreamBase(K) + n) is
// the entry that the title's first program chain declares available for
// stream n with a coding of kind K. Without such an entry (no IFO, no
// readable chain, or a chain that declares nothing there) entry n is taken,
// as the slot rule pairs them.

#include <array>
#include <optional>

#include "analysis/ifo_audio.h"
#include "analysis/ifo_declared.h"
#include "analysis/track_kind.h"

namespace tonvika {

// Whether an entry's coding mode is the coding of a kind of track.
bool CodingMatches(std::uint8_t coding_mode, TrackKind kind);

// The entry the first program chain declares for the track; nothing when it
// declares none. Of two entries declaring the same stream the first counts.
std::optional<int> DeclaredEntryFor(const DeclaredAudio& declared, TrackKind kind, int stream);

// The entry whose language the track takes: the declared one, else `stream`.
int LanguageEntryFor(const DeclaredAudio& declared, TrackKind kind, int stream);

// The language code of each slot for each kind of track that may take it,
// indexed by TrackKind.
using TrackLanguageCodes = std::array<LanguageCodes, 3>;
TrackLanguageCodes LanguageCodesByKind(const LanguageCodes& entry_codes, const DeclaredAudio& declared);

// The same code for every kind: the slot rule alone.
TrackLanguageCodes SameCodesForEveryKind(const LanguageCodes& entry_codes);

}  // namespace tonvika
