#include "codecs/dts_header.h"

namespace tonvika {

namespace {

using F = DtsField;

// Where a field lies: its first bit counted from bit 7 of frame byte 4
// (array index 0) or of the tail's first byte, and its width.
struct BitField {
  DtsField field;
  int offset;
  int width;
};

// The fixed part, frame bytes 4 to 10.
constexpr BitField kFixedPart[] = {
    {F::kFtype, 0, 1},       {F::kShort, 1, 5},     {F::kCpf, 6, 1},   {F::kNblks, 7, 7},
    {F::kFsize, 14, 14},     {F::kAmode, 28, 6},    {F::kSfreq, 34, 4}, {F::kRate, 38, 5},
    {F::kMix, 43, 1},        {F::kDynf, 44, 1},     {F::kTimef, 45, 1}, {F::kAuxf, 46, 1},
    {F::kHdcd, 47, 1},       {F::kExtAudioId, 48, 3}, {F::kExtAudio, 51, 1}, {F::kAspf, 52, 1},
    {F::kLff, 53, 2},        {F::kHflag, 55, 1},
};
// The header CRC, frame bytes 11 and 12, present only when CPF is 1.
constexpr BitField kHeaderCrc{F::kHcrc, 56, 16};
// The tail, from frame byte 13 after a CRC, from 11 without.
constexpr int kTailStartWithCrc = 72;
constexpr int kTailStartWithoutCrc = 56;
constexpr BitField kTail[] = {
    {F::kFilts, 0, 1}, {F::kVernum, 1, 4}, {F::kChist, 5, 2},     {F::kPcmr, 7, 3},
    {F::kSumf, 10, 1}, {F::kSums, 11, 1},  {F::kDialnorm, 12, 4},
};

constexpr std::array<std::string_view, kDtsFieldCount> kNames = {
    "FTYPE", "SHORT",        "CPF",       "NBLKS", "FSIZE", "AMODE", "SFREQ", "RATE", "MIX",
    "DYNF",  "TIMEF",        "AUXF",      "HDCD",  "EXT_AUDIO_ID", "EXT_AUDIO", "ASPF", "LFF",
    "HFLAG", "HCRC",         "FILTS",     "VERNUM", "CHIST", "PCMR", "SUMF", "SUMS", "DIALNORM",
};

// Kilobits per second by RATE, tenths (1411.2); 0 for open, variable, lossless.
constexpr std::array<int, 32> kRateTenths = {
    320,   560,   640,   960,   1120,  1280,  1920,  2240,  2560,  3200,  3840,
    4480,  5120,  5760,  6400,  7680,  9600,  10240, 11520, 12800, 13440, 14080,
    14112, 14720, 15360, 19200, 20480, 30720, 38400, 0,     0,     0,
};
// Hertz by SFREQ; 0 for the invalid codes.
constexpr std::array<int, 16> kSampleRates = {0,     8000,  16000, 32000, 0,     0,
                                              11025, 22050, 44100, 0,     0,     12000,
                                              24000, 48000, 0,     0};
// Channels by AMODE 0 to 15, without LFE.
constexpr std::array<int, 16> kChannels = {1, 2, 2, 2, 2, 3, 3, 4, 4, 5, 6, 6, 6, 7, 8, 8};
// Source PCM resolution by PCMR; 0 for the invalid 4 and 7.
constexpr std::array<int, 8> kBitsPerSample = {16, 16, 20, 20, 0, 24, 24, 0};

unsigned ReadBits(const DtsHeaderBytes& bytes, int start_bit, int width) {
  unsigned value = 0;
  for (int i = 0; i < width; ++i) {
    const int bit = start_bit + i;
    value = (value << 1) | ((bytes[static_cast<std::size_t>(bit / 8)] >> (7 - bit % 8)) & 1u);
  }
  return value;
}

void Read(DtsHeader& h, const DtsHeaderBytes& bytes, int start, const BitField& f) {
  h.values[static_cast<std::size_t>(f.field)] = ReadBits(bytes, start + f.offset, f.width);
}

std::optional<int> NonZero(int value) { return value == 0 ? std::nullopt : std::optional<int>(value); }

}  // namespace

std::string_view DtsFieldName(DtsField field) { return kNames.at(static_cast<std::size_t>(field)); }

DtsHeader DecodeDtsHeader(const DtsHeaderBytes& bytes) {
  DtsHeader h;
  for (const BitField& f : kFixedPart) Read(h, bytes, 0, f);
  const bool crc = h.Get(F::kCpf) == 1;
  // The CRC bytes are read only where they are CRC bytes; without one the
  // same two bytes are the tail.
  if (crc) Read(h, bytes, 0, kHeaderCrc);
  const int tail = crc ? kTailStartWithCrc : kTailStartWithoutCrc;
  for (const BitField& f : kTail) Read(h, bytes, tail, f);
  return h;
}

std::optional<double> DtsBitRateKbps(unsigned rate) {
  const int tenths = kRateTenths.at(rate & 31);
  if (tenths == 0) return std::nullopt;
  return tenths / 10.0;
}

std::optional<int> DtsSampleRateHz(unsigned sfreq) { return NonZero(kSampleRates.at(sfreq & 15)); }

std::optional<int> DtsChannels(unsigned amode) {
  if (amode >= kChannels.size()) return std::nullopt;
  return kChannels[amode];
}

std::optional<int> DtsBitsPerSample(unsigned pcmr) { return NonZero(kBitsPerSample.at(pcmr & 7)); }

bool DtsHasLfe(unsigned lff) { return lff == 1 || lff == 2; }

}  // namespace tonvika
