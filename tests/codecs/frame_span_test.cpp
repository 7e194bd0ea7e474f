#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "codecs/audio_frame.h"

namespace tonvika {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The quick read finds a frame exactly where the whole decode does, with
// the same length and time: at every offset of real streams, and of the
// same bytes with one byte in eight changed at random.
TEST(FrameSpan, AgreesWithTheWholeHeaderEverywhere) {
  const std::pair<const char*, FrameFormat> files[] = {
      {"/raw/ac3_junk100_5.1_448k.ac3", FrameFormat::Ac3},
      {"/raw/ac3_false_sync_stereo_192k.ac3", FrameFormat::Ac3},
      {"/raw/dts_junk100_5.1_768k.dts", FrameFormat::Dts},
  };
  std::mt19937 random(7);
  for (const auto& [file, format] : files) {
    std::vector<std::uint8_t> bytes = Bytes(std::string(TONVIKA_FIXTURES) + file);
    bytes.resize(std::min<std::size_t>(bytes.size(), 16384));
    for (int round = 0; round < 2; ++round) {
      std::size_t frames = 0;
      for (std::size_t at = 0; at < bytes.size(); ++at) {
        const auto span = ReadFrameSpan(format, std::span(bytes).subspan(at));
        const auto head = ReadFrameHead(format, std::span(bytes).subspan(at));
        ASSERT_EQ(span.has_value(), head.has_value()) << file << " at " << at;
        if (!head) continue;
        ++frames;
        EXPECT_EQ(span->bytes, head->bytes);
        EXPECT_EQ(span->samples, head->samples);
        EXPECT_EQ(span->sample_rate_hz, head->sample_rate_hz);
      }
      if (round == 0) {
        EXPECT_GE(frames, 2u) << file;
      }
      for (std::size_t at = 0; at < bytes.size(); at += 8) bytes[at + random() % 8 % (bytes.size() - at)] = static_cast<std::uint8_t>(random());
    }
  }
}

}  // namespace
}  // namespace tonvika
