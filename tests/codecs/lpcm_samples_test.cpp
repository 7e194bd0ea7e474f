#include "codecs/lpcm_samples.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tonvika {
namespace {

// Packed bytes with every nibble telling its neighbours apart.
std::vector<std::uint8_t> Pattern(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(0x1B + 0x37 * i);
  return bytes;
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (const std::uint8_t b : bytes) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x", b);
    text += pair;
  }
  return text;
}

LpcmAttributes Attributes(unsigned attribute) { return DecodeLpcmAttributes(static_cast<std::uint8_t>(attribute)); }

LpcmUnpacker Unpacker(unsigned attribute) { return LpcmUnpacker(Attributes(attribute)); }

struct SampleCase {
  unsigned attribute;
  std::size_t packed;    // bytes of Pattern(packed)
  const char* samples;   // what ffmpeg 5.1 decodes them to, as pcm_s16le or pcm_s24le
};

// Each is one group, some with the first bytes of the next.
constexpr SampleCase kSampleCases[] = {
    {0x01, 6, "521bc089"},                              // 16-bit stereo
    {0x80, 13, "f7521b2ec089419c65780ad3"},              // 24-bit mono: packs of two samples
    {0x81, 12, "d3521b0ac089412ef7789c65"},              // 24-bit stereo
    {0x83, 12, "d3521b0ac089412ef7789c65"},              // 24-bit, 4 channels: a pack per period
    {0x87, 24, "d3521b0ac089412ef7789c6567e6af9e541dd5c28b0c30f9"},  // 8 channels: two packs
    {0x40, 11, "f0521b70c08900652ea0d39c"},              // 20-bit mono: high nibble first
    {0x41, 10, "d0521b30c089002ef7a09c65"},
    {0x47, 20, "d0521b30c089002ef7a09c65f0784190e6af30541d00c28b"},
    {0x42, 30, "d0521b30c089002ef7a09c65f0784190e6af30541d00c28b109e67f00cd5507a4360e8b1"},
};

TEST(LpcmUnpacker, GivesTheSamplesFfmpegDecodes) {
  for (const SampleCase& c : kSampleCases) {
    const std::vector<std::uint8_t> packed = Pattern(c.packed);
    LpcmUnpacker whole = Unpacker(c.attribute);
    std::vector<std::uint8_t> out;
    whole.Unpack(packed, out);
    EXPECT_EQ(Hex(out), c.samples) << std::hex << c.attribute;
    EXPECT_EQ(whole.Pending(), c.packed % whole.GroupBytes()) << std::hex << c.attribute;

    // Split anywhere, and byte by byte, the same samples come out.
    for (std::size_t cut = 0; cut <= packed.size(); ++cut) {
      LpcmUnpacker split = Unpacker(c.attribute);
      std::vector<std::uint8_t> parts{0xEE};  // output is appended
      split.Unpack(std::span(packed).first(cut), parts);
      EXPECT_EQ(split.Pending(), cut % split.GroupBytes());
      split.Unpack(std::span(packed).subspan(cut), parts);
      EXPECT_EQ(Hex(parts), "ee" + std::string(c.samples)) << std::hex << c.attribute << " cut at " << cut;
    }
    LpcmUnpacker bytewise = Unpacker(c.attribute);
    std::vector<std::uint8_t> bytes;
    for (const std::uint8_t b : packed) bytewise.Unpack(std::span(&b, 1), bytes);
    EXPECT_EQ(Hex(bytes), c.samples) << std::hex << c.attribute;
  }
}

struct CountCase {
  unsigned attribute;
  std::size_t packed;
  std::size_t samples;  // bytes ffmpeg 5.1 decodes from a stream of `packed` bytes
};

// The fixtures' single packets, and longer streams of 3, 5 and 7 channels: how
// many bytes each group takes shows in what is left undecoded.
constexpr CountCase kCountCases[] = {
    {0x06, 2002, 2002},   {0x80, 2007, 2004},   {0x85, 1998, 1944},   {0x87, 1992, 1992},
    {0x40, 2007, 2400},   {0x45, 1998, 2376},   {0x47, 1992, 2376},   {0x91, 2004, 2004},
    {0x82, 10037, 10008}, {0x84, 10037, 10020}, {0x86, 10037, 9996},  {0x42, 10037, 12024},
    {0x44, 10037, 12000}, {0x46, 10037, 12012},
};

TEST(LpcmUnpacker, LeavesAPartialGroupAsFfmpegDoes) {
  for (const CountCase& c : kCountCases) {
    LpcmUnpacker unpacker = Unpacker(c.attribute);
    std::vector<std::uint8_t> out;
    unpacker.Unpack(Pattern(c.packed), out);
    EXPECT_EQ(out.size(), c.samples) << std::hex << c.attribute;
    EXPECT_LT(unpacker.Pending(), unpacker.GroupBytes());
    // Every byte not waiting went into the samples given.
    const auto word_bits = static_cast<std::size_t>(*LpcmBitsPerSample(Attributes(c.attribute)));
    const std::size_t decoded = out.size() * 8 / static_cast<std::size_t>(unpacker.OutputBitsPerSample());
    EXPECT_EQ((c.packed - unpacker.Pending()) * 8, decoded * word_bits)
        << std::hex << c.attribute;
  }
}

TEST(LpcmUnpacker, DescribesItsOutput) {
  struct Case {
    unsigned attribute;
    int bits, channels, rate;
  };
  for (const Case& c : {Case{0x00, 16, 1, 48000}, Case{0x57, 24, 8, 96000}, Case{0xA1, 24, 2, 0}}) {
    const LpcmUnpacker unpacker = Unpacker(c.attribute);
    EXPECT_EQ(unpacker.OutputBitsPerSample(), c.bits);
    EXPECT_EQ(unpacker.Channels(), c.channels);
    EXPECT_EQ(unpacker.SampleRateHz(), c.rate);
  }
}

}  // namespace
}  // namespace tonvika
