#pragma once
// Description of the DVD LPCM attribute byte.

#include <cstdint>
#include <string>

namespace tonvika {

// Word length, sampling rate and channels, such as "16bit 48000Hz stereo".
std::string DescribeLpcm(std::uint8_t attribute);

}  // namespace tonvika
