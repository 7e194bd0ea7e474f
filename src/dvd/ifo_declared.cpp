#include "dvd/ifo_declared.h"

#include <algorithm>

#include "dvd/ifo_audio.h"
#include "dvd/ifo_bytes.h"

namespace tonvika {

namespace {

// The title set information (VTSI) header.
constexpr std::size_t kPgciSectorOffset = 0xCC;    // 32 bits, in sectors
constexpr std::size_t kSectorSize = 2048;

// The program chain information table (VTS_PGCI): a 16-bit count, two bytes
// reserved, the 32-bit end address, then one search pointer per chain.
constexpr std::size_t kPgciHeaderSize = 8;
constexpr std::size_t kSearchPointerSize = 8;       // category (4 bytes), offset (4 bytes)
constexpr std::size_t kSearchPointerOffsetField = 4;

// In a program chain: eight 16-bit audio stream control words.
constexpr std::size_t kAudioControlOffset = 0x0C;
constexpr std::uint16_t kStreamAvailable = 0x8000;
constexpr std::uint16_t kStreamNumberMask = 0x7F00;
constexpr int kStreamNumberShift = 8;
constexpr int kHighestStreamNumber = 7;  // a title carries at most eight audio streams

DeclaredAudioEntry DecodeEntry(const AudioAttributeEntry& bytes, int index, const LanguageCodes& codes) {
  const std::uint8_t mode = bytes[0];
  const std::uint8_t sample = bytes[1];
  DeclaredAudioEntry entry;
  entry.index = index;
  entry.coding_mode = static_cast<std::uint8_t>(mode >> 5);
  entry.multichannel_extension = (mode & 0x10) != 0;
  entry.language_type = static_cast<std::uint8_t>((mode >> 2) & 0x03);
  entry.application_mode = static_cast<std::uint8_t>(mode & 0x03);
  entry.quantization = static_cast<std::uint8_t>(sample >> 6);
  entry.sample_rate_code = static_cast<std::uint8_t>((sample >> 4) & 0x03);
  entry.channels = (sample & 0x07) + 1;
  entry.language_code = codes[static_cast<std::size_t>(index)];
  entry.code_extension = bytes[5];
  return entry;
}

std::vector<DeclaredAudioEntry> ReadEntries(const IfoBytes& ifo, std::span<const std::uint8_t> bytes) {
  std::vector<DeclaredAudioEntry> entries;
  const std::optional<std::uint16_t> count = ifo.U16(kIfoAudioCountOffset);
  if (!count) return entries;
  // A count above eight is a damaged header; the table has eight entries.
  const int listed = std::min<int>(*count, kAudioEntryCount);
  const LanguageCodes codes = AudioLanguageCodes(bytes);
  const AudioAttributeTable table = ifo.AudioTable();
  for (int k = 0; k < listed; ++k) {
    if (!ifo.HoldsAudioEntry(static_cast<std::size_t>(k))) break;
    entries.push_back(DecodeEntry(table[static_cast<std::size_t>(k)], k, codes));
  }
  return entries;
}

std::optional<AudioStreamControl> ReadAudioControl(const IfoBytes& ifo, std::size_t chain) {
  AudioStreamControl control;
  for (int k = 0; k < kAudioEntryCount; ++k) {
    const std::optional<std::uint16_t> word = ifo.U16(chain + kAudioControlOffset + 2 * static_cast<std::size_t>(k));
    if (!word) return std::nullopt;
    const int number = (*word & kStreamNumberMask) >> kStreamNumberShift;
    // A number above 7 cannot be played; the entry counts as unavailable.
    if ((*word & kStreamAvailable) != 0 && number <= kHighestStreamNumber) control[k] = number;
  }
  return control;
}

std::vector<std::optional<AudioStreamControl>> ReadProgramChains(const IfoBytes& ifo) {
  std::vector<std::optional<AudioStreamControl>> chains;
  const std::optional<std::uint32_t> sector = ifo.U32(kPgciSectorOffset);
  // Sector 0 holds the header itself: no table was written.
  if (!sector || *sector == 0) return chains;
  const std::size_t table = std::size_t{*sector} * kSectorSize;
  const std::optional<std::uint16_t> count = ifo.U16(table);
  if (!count) return chains;
  for (std::size_t i = 0; i < *count; ++i) {
    const std::size_t pointer = table + kPgciHeaderSize + kSearchPointerSize * i;
    const std::optional<std::uint32_t> offset = ifo.U32(pointer + kSearchPointerOffsetField);
    if (!offset) break;  // the table itself is cut off: no further chain is known
    chains.push_back(ReadAudioControl(ifo, table + *offset));
  }
  return chains;
}

}  // namespace

const AudioStreamControl* DeclaredAudio::FirstChain() const {
  if (title_chain < 1 || static_cast<std::size_t>(title_chain) > program_chains.size()) return nullptr;
  const std::optional<AudioStreamControl>& chain = program_chains[static_cast<std::size_t>(title_chain) - 1];
  return chain ? &*chain : nullptr;
}

DeclaredAudio ReadDeclaredAudio(std::span<const std::uint8_t> bytes, int title_chain) {
  const IfoBytes ifo(bytes);
  DeclaredAudio declared;
  declared.entries = ReadEntries(ifo, bytes);
  declared.program_chains = ReadProgramChains(ifo);
  declared.title_chain = title_chain;
  if (const AudioStreamControl* first = declared.FirstChain()) {
    for (DeclaredAudioEntry& entry : declared.entries) entry.stream_number = (*first)[entry.index];
  }
  return declared;
}

std::optional<std::string_view> AudioCodingName(std::uint8_t coding_mode) {
  constexpr std::array<std::string_view, 8> kNames{"AC-3", "", "MPEG-1", "MPEG-2", "LPCM", "", "DTS", ""};
  if (coding_mode >= kNames.size() || kNames[coding_mode].empty()) return std::nullopt;
  return kNames[coding_mode];
}

std::optional<std::string_view> ApplicationModeName(std::uint8_t application_mode) {
  constexpr std::array<std::string_view, 3> kNames{"unspecified", "karaoke", "surround"};
  if (application_mode >= kNames.size()) return std::nullopt;
  return kNames[application_mode];
}

std::optional<std::string_view> CodeExtensionName(std::uint8_t code_extension) {
  constexpr std::array<std::string_view, 5> kNames{"unspecified", "normal", "for the visually impaired",
                                                   "director's comments", "alternate director's comments"};
  if (code_extension >= kNames.size()) return std::nullopt;
  return kNames[code_extension];
}

std::optional<int> DeclaredSampleRate(const DeclaredAudioEntry& entry) {
  constexpr std::array<int, 2> kRates{48000, 96000};
  if (entry.sample_rate_code >= kRates.size()) return std::nullopt;
  return kRates[entry.sample_rate_code];
}

std::optional<int> DeclaredBitsPerSample(const DeclaredAudioEntry& entry) {
  constexpr std::array<int, 3> kBits{16, 20, 24};
  if (entry.coding_mode != kCodingLpcm || entry.quantization >= kBits.size()) return std::nullopt;
  return kBits[entry.quantization];
}

std::string DescribeDeclaredEntry(const DeclaredAudioEntry& entry) {
  // Appended piece by piece: g++ 12 warns (-Wrestrict) on " " + to_string(...) at -O3.
  std::string text;
  const auto add = [&text](std::string_view piece) { text.append(piece); };
  const std::optional<std::string_view> coding = AudioCodingName(entry.coding_mode);
  if (coding) {
    add(*coding);
  } else {
    add("coding ");
    add(std::to_string(entry.coding_mode));
  }
  if (const std::optional<int> bits = DeclaredBitsPerSample(entry)) {
    add(" ");
    add(std::to_string(*bits));
    add("bit");
  }
  add(" ");
  add(std::to_string(entry.channels));
  add("ch");
  if (const std::optional<int> rate = DeclaredSampleRate(entry)) {
    add(" ");
    add(std::to_string(*rate));
    add("Hz");
  }
  if (!entry.language_code.empty() && entry.language_code != "none") {
    add(" ");
    add(entry.language_code);
  }
  // Normal and unspecified content goes without saying.
  constexpr std::uint8_t kFirstSpecialContent = 2;
  const std::optional<std::string_view> content = CodeExtensionName(entry.code_extension);
  if (content && entry.code_extension >= kFirstSpecialContent) {
    add(" (");
    add(*content);
    add(")");
  }
  return text;
}

}  // namespace tonvika
