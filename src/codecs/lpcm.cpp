#include "codecs/lpcm.h"

#include <array>
#include <string_view>

namespace tonvika {

namespace {

// Bits 7-6: quantisation word length.
constexpr std::array<std::string_view, 4> kWordLengths{"16bit", "20bit", "24bit",
                                                       "illegal bit"};

// Bit 4 only: the upper bit of the sampling field (bit 5) is ignored.
constexpr std::array<std::string_view, 2> kSampleRates{" 48000Hz", " 96000Hz"};

// Bits 2-0: number of channels minus one.
constexpr std::array<std::string_view, 8> kChannels{
    " mono",            " stereo",          " 3 channel multi", " 4 channel multi",
    " 5 channel multi", " 6 channel multi", " 7 channel multi", " 8 channel multi"};

}  // namespace

std::string DescribeLpcm(std::uint8_t attribute) {
  std::string text(kWordLengths[attribute >> 6]);
  text += kSampleRates[(attribute >> 4) & 0x1];
  text += kChannels[attribute & 0x7];
  return text;
}

}  // namespace tonvika
