#pragma once
// The header of a WAV file of PCM samples, of one length whatever the size
// of the file, so that it can be written first and rewritten in place once
// the number of sample bytes is known.
//
// Layout: RIFF or RF64 form (12 bytes); a JUNK chunk, or in an RF64 file the
// ds64 chunk in its place (36); the fmt chunk, PCM (24) followed by a JUNK
// chunk (24) or WAVE_FORMAT_EXTENSIBLE (48); the data chunk's head (8).

#include <array>
#include <cstddef>
#include <cstdint>

namespace tonvika {

struct WavFormat {
  int channels = 2;
  int sample_rate_hz = 48000;
  int bits_per_sample = 16;
};

// The speaker positions of a DVD LPCM stream of `channels` channels (1 to 8),
// as WAVE_FORMAT_EXTENSIBLE's dwChannelMask.
std::uint32_t WavChannelMask(int channels);

// Every header is this long, RIFF or RF64, so it can be written first and
// rewritten in place at the end.
inline constexpr std::size_t kWavHeaderBytes = 104;

// The header for `data_bytes` bytes of samples: RIFF/WAVE while the file
// stays below 4 GiB, RF64 (with its ds64 chunk in the place of a JUNK chunk
// of the same size) past that; WAVE_FORMAT_EXTENSIBLE above 2 channels and
// above 16 bits, PCM otherwise. An odd number of sample bytes is followed by
// one pad byte, which the sizes count.
std::array<std::uint8_t, kWavHeaderBytes> WavHeader(const WavFormat& format, std::uint64_t data_bytes);

}  // namespace tonvika
