#include "codecs/ac3_header.h"

#include "codecs/take_bits.h"

namespace tonvika {

namespace {

using F = Ac3Field;

constexpr std::array<std::string_view, kAc3FieldCount> kNames = {
    "fscod",       "frmsizecod",    "bsid",        "bsmod",         "acmod",
    "cmixlev",     "surmixlev",     "dsurmod",     "lfeon",         "dialnorm",
    "compre",      "compr",         "langcode",    "langcod",       "audprodie",
    "mixlevel",    "roomtyp",       "dialnorm2",   "compr2e",       "compr2",
    "langcod2e",   "langcod2",      "audprodi2e",  "mixlevel2",     "roomtyp2",
    "copyrightb",  "origbs",        "xbsi1e",      "dmixmod",       "ltrtcmixlev",
    "ltrtsurmixlev", "lorocmixlev", "lorosurmixlev", "xbsi2e",      "dsurexmod",
    "dheadphonmod", "adconvtyp",    "xbsi2",
};

// What of the fixed header a field depends on.
enum class When { kAlways, kCentreMix, kSurroundMix, kStereo, kDualMono, kAlternateSyntax };

struct Step {
  Ac3Field field;
  int width;       // 8 is read as two 4-bit takes, high first
  When when;
  Ac3Field gate;   // an earlier flag that must be 1, or kCount for none
};
constexpr Ac3Field kUngated = F::kCount;

// The fields after acmod, in stream order.
constexpr Step kSteps[] = {
    {F::kCmixlev, 2, When::kCentreMix, kUngated},
    {F::kSurmixlev, 2, When::kSurroundMix, kUngated},
    {F::kDsurmod, 2, When::kStereo, kUngated},
    {F::kLfeon, 1, When::kAlways, kUngated},
    {F::kDialnorm, 5, When::kAlways, kUngated},
    {F::kCompre, 1, When::kAlways, kUngated},
    {F::kCompr, 8, When::kAlways, F::kCompre},
    {F::kLangcode, 1, When::kAlways, kUngated},
    {F::kLangcod, 8, When::kAlways, F::kLangcode},
    {F::kAudprodie, 1, When::kAlways, kUngated},
    {F::kMixlevel, 5, When::kAlways, F::kAudprodie},
    {F::kRoomtyp, 2, When::kAlways, F::kAudprodie},
    {F::kDialnorm2, 5, When::kDualMono, kUngated},
    {F::kCompr2e, 1, When::kDualMono, kUngated},
    {F::kCompr2, 8, When::kDualMono, F::kCompr2e},
    {F::kLangcod2e, 1, When::kDualMono, kUngated},
    {F::kLangcod2, 8, When::kDualMono, F::kLangcod2e},
    {F::kAudprodi2e, 1, When::kDualMono, kUngated},
    {F::kMixlevel2, 5, When::kDualMono, F::kAudprodi2e},
    {F::kRoomtyp2, 2, When::kDualMono, F::kAudprodi2e},
    {F::kCopyrightb, 1, When::kAlways, kUngated},
    {F::kOrigbs, 1, When::kAlways, kUngated},
    {F::kXbsi1e, 1, When::kAlternateSyntax, kUngated},
    {F::kDmixmod, 2, When::kAlternateSyntax, F::kXbsi1e},
    {F::kLtrtcmixlev, 3, When::kAlternateSyntax, F::kXbsi1e},
    {F::kLtrtsurmixlev, 3, When::kAlternateSyntax, F::kXbsi1e},
    {F::kLorocmixlev, 3, When::kAlternateSyntax, F::kXbsi1e},
    {F::kLorosurmixlev, 3, When::kAlternateSyntax, F::kXbsi1e},
    {F::kXbsi2e, 1, When::kAlternateSyntax, kUngated},
    {F::kDsurexmod, 2, When::kAlternateSyntax, F::kXbsi2e},
    {F::kDheadphonmod, 2, When::kAlternateSyntax, F::kXbsi2e},
    {F::kAdconvtyp, 1, When::kAlternateSyntax, F::kXbsi2e},
    {F::kXbsi2, 8, When::kAlternateSyntax, F::kXbsi2e},
};

// The table is in stream order, which is also the order of the enumeration.
constexpr bool StepsAreInStreamOrder() {
  for (std::size_t i = 1; i < std::size(kSteps); ++i) {
    if (kSteps[i - 1].field >= kSteps[i].field) return false;
  }
  return true;
}
static_assert(StepsAreInStreamOrder());

bool Holds(When when, const Ac3Header& h) {
  const int acmod = h.Get(F::kAcmod);
  switch (when) {
    case When::kAlways:
      return true;
    case When::kCentreMix:  // three front channels: acmod 3, 5, 7
      return (acmod & 1) != 0 && acmod != 1;
    case When::kSurroundMix:  // any surround channel: acmod 4 to 7
      return (acmod & 4) != 0;
    case When::kStereo:
      return acmod == 2;
    case When::kDualMono:
      return acmod == 0;
    case When::kAlternateSyntax:
      return h.Get(F::kBsid) == kAc3AlternateSyntaxBsid;
  }
  return false;
}

bool IsRead(const Step& step, const Ac3Header& h) {
  return Holds(step.when, h) && (step.gate == kUngated || h.Get(step.gate) == 1);
}

std::uint8_t TakeField(std::uint8_t* buffer, std::size_t offset, int width) {
  if (width < 8) return TakeBits(buffer, offset, width);
  const auto high = TakeBits(buffer, offset, 4);
  const auto low = TakeBits(buffer, offset, 4);
  return static_cast<std::uint8_t>(high * 16 + low);
}

void Take(Ac3Header& h, Ac3Field field, std::uint8_t* buffer, std::size_t offset, int width) {
  const auto i = static_cast<std::size_t>(field);
  h.values[i] = TakeField(buffer, offset, width);
  h.read[i] = true;
}

// Kilobits per second by frmsizecod >> 1; 0 where the code gives none.
constexpr std::array<int, 32> kBitRates = {32,  40,  48,  56,  64,  80,  96,  112,
                                           128, 160, 192, 224, 256, 320, 384, 448,
                                           512, 576, 640, 0,   0,   0,   0,   0,
                                           0,   0,   0,   0,   0,   0,   0,   0};

// Hertz by fscod; 3 is reserved.
constexpr std::array<int, 4> kSampleRates = {48000, 44100, 32000, 0};

struct ChannelMode {
  std::string_view name;
  int channels;
};
constexpr std::array<ChannelMode, 8> kChannelModes = {{
    {"1+1", 2}, {"1/0", 1}, {"2/0", 2}, {"3/0", 3}, {"2/1", 3}, {"3/1", 4}, {"2/2", 4}, {"3/2", 5},
}};

}  // namespace

std::optional<int> Ac3BitRateKbps(int frmsizecod) {
  const int kbps = kBitRates.at(static_cast<std::size_t>(frmsizecod >> 1) & 31);
  return kbps == 0 ? std::nullopt : std::optional<int>(kbps);
}

std::optional<int> Ac3SampleRateHz(int fscod) {
  const int hz = kSampleRates.at(static_cast<std::size_t>(fscod) & 3);
  return hz == 0 ? std::nullopt : std::optional<int>(hz);
}

int Ac3FullBandwidthChannels(int acmod) { return kChannelModes.at(static_cast<std::size_t>(acmod) & 7).channels; }

std::string_view Ac3ChannelMode(int acmod) { return kChannelModes.at(static_cast<std::size_t>(acmod) & 7).name; }

std::string_view Ac3FieldName(Ac3Field field) { return kNames.at(static_cast<std::size_t>(field)); }

Ac3Header DecodeAc3Header(std::uint8_t* buffer, std::size_t offset) {
  Ac3Header h;
  Take(h, F::kFscod, buffer, offset, 2);
  Take(h, F::kFrmsizecod, buffer, offset, 6);
  Take(h, F::kBsid, buffer, offset, 5);
  Take(h, F::kBsmod, buffer, offset, 3);
  Take(h, F::kAcmod, buffer, offset, 3);
  if (!h.Decoded()) return h;  // a later, incompatible syntax
  for (const Step& step : kSteps) {
    if (IsRead(step, h)) Take(h, step.field, buffer, offset, step.width);
  }
  return h;
}

}  // namespace tonvika
