#include "codecs/lpcm.h"

#include <array>
#include <string_view>

namespace tonvika {

namespace {

// Bits 7-6: quantisation word length.
constexpr std::array<std::string_view, 4> kWordLengths{"16bit", "20bit", "24bit",
                                                       "illegal bit"};
constexpr std::array<int, 4> kBitsPerSample{16, 20, 24, 0};

// Bit 4 only: the upper bit of the sampling field (bit 5) is ignored by the text.
constexpr std::array<std::string_view, 2> kSampleRateTexts{" 48000Hz", " 96000Hz"};
constexpr std::array<int, 4> kSampleRates{48000, 96000, 0, 0};

// Bits 2-0: number of channels minus one.
constexpr std::array<std::string_view, 8> kChannels{
    " mono",            " stereo",          " 3 channel multi", " 4 channel multi",
    " 5 channel multi", " 6 channel multi", " 7 channel multi", " 8 channel multi"};

std::optional<int> NonZero(int value) { return value == 0 ? std::nullopt : std::optional<int>(value); }

}  // namespace

LpcmAttributes DecodeLpcmAttributes(std::uint8_t attribute) {
  return {static_cast<std::uint8_t>(attribute >> 6), static_cast<std::uint8_t>((attribute >> 4) & 0x3),
          static_cast<std::uint8_t>(attribute & 0x7)};
}

std::optional<int> LpcmBitsPerSample(const LpcmAttributes& a) { return NonZero(kBitsPerSample[a.quantization & 3]); }

std::optional<int> LpcmSampleRateHz(const LpcmAttributes& a) { return NonZero(kSampleRates[a.sampling_frequency & 3]); }

int LpcmChannels(const LpcmAttributes& a) { return (a.channels & 7) + 1; }

std::string LpcmChannelText(const LpcmAttributes& a) { return std::string(kChannels[a.channels & 7]); }

std::string DescribeLpcm(const LpcmAttributes& a) {
  std::string text(kWordLengths[a.quantization & 3]);
  text += kSampleRateTexts[a.sampling_frequency & 1];
  text += kChannels[a.channels & 7];
  return text;
}

std::string DescribeLpcm(std::uint8_t attribute) { return DescribeLpcm(DecodeLpcmAttributes(attribute)); }

}  // namespace tonvika
