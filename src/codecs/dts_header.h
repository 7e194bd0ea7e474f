#pragma once
// Decoding a DTS core frame header into plain field values, in stream order.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tonvika {

// Frame bytes 4 to 14: the eleven bytes after the sync word 7F FE 80 01.
using DtsHeaderBytes = std::array<std::uint8_t, 11>;

// The core header's fields in bitstream order, by their short names.
enum class DtsField : std::uint8_t {
  kFtype, kShort, kCpf, kNblks, kFsize, kAmode, kSfreq, kRate, kMix, kDynf, kTimef, kAuxf,
  kHdcd, kExtAudioId, kExtAudio, kAspf, kLff, kHflag, kHcrc, kFilts, kVernum, kChist, kPcmr,
  kSumf, kSums, kDialnorm,
  kCount
};
inline constexpr std::size_t kDtsFieldCount = static_cast<std::size_t>(DtsField::kCount);

// "FTYPE", "SHORT", "CPF" ... "HCRC" (the header CRC) ... "DIALNORM".
std::string_view DtsFieldName(DtsField field);

struct DtsHeader {
  std::array<unsigned, kDtsFieldCount> values{};

  unsigned Get(DtsField field) const { return values[static_cast<std::size_t>(field)]; }
  // Every field is read but the header CRC, which is there only when CPF is 1.
  bool Has(DtsField field) const { return field != DtsField::kHcrc || Get(DtsField::kCpf) == 1; }
};

// Reads every field as a plain big-endian bit string; the tail (FILTS to
// DIALNORM) starts at frame byte 13 after a header CRC and at 11 without.
DtsHeader DecodeDtsHeader(const DtsHeaderBytes& bytes);

// What the codes mean; none where the code gives no number: RATE 29 to 31
// (open, variable, lossless), the invalid SFREQ codes, AMODE 16 and above
// (user defined), PCMR 4 and 7.
std::optional<double> DtsBitRateKbps(unsigned rate);
std::optional<int> DtsSampleRateHz(unsigned sfreq);
std::optional<int> DtsChannels(unsigned amode);  // without the LFE channel
std::optional<int> DtsBitsPerSample(unsigned pcmr);
bool DtsHasLfe(unsigned lff);  // LFF 1 and 2; 3 is invalid

}  // namespace tonvika
