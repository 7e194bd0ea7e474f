#pragma once
// The DVD LPCM attribute byte: decode, then describe.

#include <cstdint>
#include <optional>
#include <string>

namespace tonvika {

// The three fields of the byte, raw: bits 7-6, 5-4 and 2-0.
struct LpcmAttributes {
  std::uint8_t quantization = 0;        // word length: 16, 20, 24 bits, 3 reserved
  std::uint8_t sampling_frequency = 0;  // 0 48 kHz, 1 96 kHz, 2 and 3 reserved
  std::uint8_t channels = 0;            // number of channels minus one
};

LpcmAttributes DecodeLpcmAttributes(std::uint8_t attribute);

// What the fields mean; none for the reserved codes.
std::optional<int> LpcmBitsPerSample(const LpcmAttributes& attributes);
std::optional<int> LpcmSampleRateHz(const LpcmAttributes& attributes);
int LpcmChannels(const LpcmAttributes& attributes);
// " mono", " stereo", " 3 channel multi" ... as the description shows them.
std::string LpcmChannelText(const LpcmAttributes& attributes);

// Word length, sampling rate and channels, such as "16bit 48000Hz stereo".
// Only the lower bit of the sampling field is looked at.
std::string DescribeLpcm(const LpcmAttributes& attributes);
std::string DescribeLpcm(std::uint8_t attribute);

}  // namespace tonvika
