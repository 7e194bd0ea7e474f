#pragma once
// What a title set's IFO declares about its audio: the attributes of each
// audio stream entry, and which physical stream each program chain plays
// for it. Read from the IFO's bytes alone; every part that lies outside
// them is left out ("nothing declared"), never an error.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tonvika {

inline constexpr int kAudioEntryCount = 8;

// Audio coding modes of an attribute entry (bits 7-5 of its first byte).
inline constexpr std::uint8_t kCodingAc3 = 0;
inline constexpr std::uint8_t kCodingMpeg1 = 2;
inline constexpr std::uint8_t kCodingMpeg2 = 3;
inline constexpr std::uint8_t kCodingLpcm = 4;
inline constexpr std::uint8_t kCodingDts = 6;

// One audio attribute entry, its fields as the IFO holds them.
struct DeclaredAudioEntry {
  int index = 0;                       // entry 0 to 7
  std::uint8_t coding_mode = 0;        // kCoding*; 1, 5 and 7 are not defined
  bool multichannel_extension = false;
  std::uint8_t language_type = 0;      // 1: the entry carries a language code
  std::uint8_t application_mode = 0;   // 0 unspecified, 1 karaoke, 2 surround
  std::uint8_t quantization = 0;       // LPCM: 0 16 bits, 1 20, 2 24; 3 dynamic range control
  std::uint8_t sample_rate_code = 0;   // 0 48 kHz, 1 96 kHz
  int channels = 1;                    // 1 to 8
  std::string language_code;           // as the language reader gives it: a code or "none"
  std::uint8_t code_extension = 0;     // 0 unspecified, 1 normal, 2 visually impaired, 3 and 4 comments
  // The physical stream the title's first program chain plays for this
  // entry; nothing when the chain marks it unavailable or there is no
  // readable chain.
  std::optional<int> stream_number;
};

// One program chain's audio stream control: for entry k, the physical stream
// number it plays, or nothing when the chain says the entry is unavailable
// (or names a number no disc can carry).
using AudioStreamControl = std::array<std::optional<int>, kAudioEntryCount>;

struct DeclaredAudio {
  std::vector<DeclaredAudioEntry> entries;  // as many as the IFO's count says (at most 8)
  // One per program chain of the title set, in table order; nothing for a
  // chain whose control words lie outside the IFO.
  std::vector<std::optional<AudioStreamControl>> program_chains;
  // The analysed title's first program chain (the chain of its first part),
  // by its number in the table: 1 for the first.
  int title_chain = 1;

  // That chain's control, or nullptr when it is not a readable chain.
  const AudioStreamControl* FirstChain() const;
};

// `title_chain`: the title's first program chain, whose control gives each
// entry its stream. A title of a disc names its own (its first part's chain
// in the part-of-title table); for a VOB named alone it is the first of the
// table, which in dvdauthor's title sets (and most discs) is title 1's.
DeclaredAudio ReadDeclaredAudio(std::span<const std::uint8_t> ifo, int title_chain = 1);

// Names of the coded values; nothing for values the format leaves undefined.
std::optional<std::string_view> AudioCodingName(std::uint8_t coding_mode);
std::optional<std::string_view> ApplicationModeName(std::uint8_t application_mode);
std::optional<std::string_view> CodeExtensionName(std::uint8_t code_extension);
std::optional<int> DeclaredSampleRate(const DeclaredAudioEntry& entry);
std::optional<int> DeclaredBitsPerSample(const DeclaredAudioEntry& entry);  // LPCM only

// A short English line for an entry, e.g. "AC-3 6ch 48000Hz en".
std::string DescribeDeclaredEntry(const DeclaredAudioEntry& entry);

}  // namespace tonvika
