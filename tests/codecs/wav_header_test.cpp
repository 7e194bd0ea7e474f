#include "codecs/wav_header.h"

#include <gtest/gtest.h>

#include <bit>
#include <map>
#include <string>

namespace tonvika {
namespace {

using Header = std::array<std::uint8_t, kWavHeaderBytes>;

std::uint64_t Number(const Header& h, std::size_t at, int size) {
  std::uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | h[at + static_cast<std::size_t>(i)];
  return value;
}

std::string Tag(const Header& h, std::size_t at) {
  return std::string(reinterpret_cast<const char*>(h.data() + at), 4);
}

// Where each chunk's body starts, walking the chunks as a reader does.
std::map<std::string, std::size_t> Chunks(const Header& h) {
  std::map<std::string, std::size_t> bodies;
  std::size_t at = 12;
  while (at + 8 <= h.size()) {
    const std::string tag = Tag(h, at);
    EXPECT_TRUE(bodies.emplace(tag, at + 8).second || tag == "JUNK") << tag << " twice";
    if (tag == "data") {
      EXPECT_EQ(at + 8, h.size()) << "the samples follow the header";
      break;
    }
    at += 8 + Number(h, at + 4, 4);
  }
  return bodies;
}

TEST(WavChannelMask, PlacesTheChannelsAsFfmpegDoes) {
  // dwChannelMask of ffmpeg 5.1's WAV files made from the 16-bit fixtures'
  // streams of one to eight channels (mono read from a 24-bit one).
  constexpr std::uint32_t kFfmpeg[] = {0x4, 0x3, 0xB, 0x107, 0x37, 0x3F, 0x70F, 0x63F};
  for (int channels = 1; channels <= 8; ++channels) {
    const std::uint32_t mask = WavChannelMask(channels);
    EXPECT_EQ(mask, kFfmpeg[channels - 1]) << channels;
    EXPECT_EQ(std::popcount(mask), channels) << "one position per channel";
  }
  EXPECT_EQ(WavChannelMask(0), 0u);
  EXPECT_EQ(WavChannelMask(9), 0u);
}

struct HeaderCase {
  WavFormat format;
  std::uint64_t data_bytes;
  bool rf64;
  bool extensible;
};

constexpr std::uint64_t k4GiB = std::uint64_t{1} << 32;

constexpr HeaderCase kHeaderCases[] = {
    {{2, 48000, 16}, 0, false, false},
    {{1, 96000, 16}, 2008, false, false},
    {{2, 48000, 24}, 2004, false, true},
    {{6, 48000, 16}, 1001, false, true},                      // odd: a pad byte follows
    {{8, 96000, 24}, k4GiB - kWavHeaderBytes - 2, false, true},  // the largest RIFF file
    {{2, 48000, 16}, k4GiB - kWavHeaderBytes - 1, true, false},  // with its pad byte, 4 GiB
    {{2, 48000, 16}, k4GiB - kWavHeaderBytes, true, false},
    {{3, 48000, 24}, 5 * k4GiB + 9, true, true},
};

TEST(WavHeader, SizesAndFormatHoldTogether) {
  for (const HeaderCase& c : kHeaderCases) {
    const Header h = WavHeader(c.format, c.data_bytes);
    const std::uint64_t file_bytes = kWavHeaderBytes + c.data_bytes + (c.data_bytes & 1);
    SCOPED_TRACE(c.data_bytes);
    EXPECT_EQ(Tag(h, 0), c.rf64 ? "RF64" : "RIFF");
    EXPECT_EQ(Tag(h, 8), "WAVE");
    const std::map<std::string, std::size_t> chunks = Chunks(h);
    ASSERT_EQ(chunks.count("fmt "), 1u);
    ASSERT_EQ(chunks.count("data"), 1u);
    EXPECT_EQ(chunks.count("ds64"), c.rf64 ? 1u : 0u);
    // ds64 comes first; a RIFF file holds a JUNK chunk of its size in its place.
    EXPECT_EQ(Tag(h, 12), c.rf64 ? "ds64" : "JUNK");
    EXPECT_EQ(Number(h, 16, 4), 28u);
    if (c.rf64) {
      const std::size_t ds64 = chunks.at("ds64");
      EXPECT_EQ(Number(h, 4, 4), 0xFFFFFFFFu);
      EXPECT_EQ(Number(h, chunks.at("data") - 4, 4), 0xFFFFFFFFu);
      EXPECT_EQ(Number(h, ds64, 8), file_bytes - 8);
      EXPECT_EQ(Number(h, ds64 + 8, 8), c.data_bytes);
      EXPECT_EQ(Number(h, ds64 + 16, 8), c.data_bytes / Number(h, chunks.at("fmt ") + 12, 2));
    } else {
      EXPECT_EQ(Number(h, 4, 4), file_bytes - 8);
      EXPECT_EQ(Number(h, chunks.at("data") - 4, 4), c.data_bytes);
    }

    const std::size_t fmt = chunks.at("fmt ");
    const WavFormat& f = c.format;
    const std::uint64_t sample_bytes = static_cast<std::uint64_t>(f.bits_per_sample) / 8;
    EXPECT_EQ(Number(h, fmt, 2), c.extensible ? 0xFFFEu : 1u);
    EXPECT_EQ(Number(h, fmt + 2, 2), static_cast<std::uint64_t>(f.channels));
    EXPECT_EQ(Number(h, fmt + 4, 4), static_cast<std::uint64_t>(f.sample_rate_hz));
    EXPECT_EQ(Number(h, fmt + 8, 4), static_cast<std::uint64_t>(f.sample_rate_hz * f.channels) * sample_bytes);
    EXPECT_EQ(Number(h, fmt + 12, 2), static_cast<std::uint64_t>(f.channels) * sample_bytes);
    EXPECT_EQ(Number(h, fmt + 14, 2), static_cast<std::uint64_t>(f.bits_per_sample));
    if (c.extensible) {
      EXPECT_EQ(Number(h, fmt - 4, 4), 40u);
      EXPECT_EQ(Number(h, fmt + 16, 2), 22u);
      EXPECT_EQ(Number(h, fmt + 18, 2), static_cast<std::uint64_t>(f.bits_per_sample));
      EXPECT_EQ(Number(h, fmt + 20, 4), WavChannelMask(f.channels));
      EXPECT_EQ(Number(h, fmt + 24, 4), 1u) << "the PCM sub-format";
    }
  }
}

}  // namespace
}  // namespace tonvika
