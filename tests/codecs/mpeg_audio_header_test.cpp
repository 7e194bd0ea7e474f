#include "codecs/mpeg_audio_header.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codecs/header_values.h"

namespace tonvika {
namespace {

using HeaderBytes = std::array<std::uint8_t, 4>;

MpegAudioHeader Decoded(const HeaderBytes& bytes) {
  const auto header = DecodeMpegAudioHeader(bytes);
  EXPECT_TRUE(header.has_value());
  return header.value_or(MpegAudioHeader{});
}

// The widths of the twelve fields after the syncword, in stream order.
constexpr std::array<int, 12> kFieldWidths = {1, 2, 1, 4, 2, 1, 1, 2, 2, 1, 1, 2};

TEST(MpegAudioHeader, EachBitAfterTheSyncwordLandsInItsOwnField) {
  int bit = 0;  // counted from the first bit after the syncword
  for (std::size_t field = 0; field < kFieldWidths.size(); ++field) {
    for (int place = kFieldWidths[field] - 1; place >= 0; --place, ++bit) {
      SCOPED_TRACE(::testing::Message() << "bit " << bit);
      const std::uint32_t word = 0xFFF00000u | (1u << (19 - bit));
      const HeaderBytes bytes = {0xFF, static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 8),
                                 static_cast<std::uint8_t>(word)};
      const HeaderValues v = ValuesOf(Decoded(bytes));
      ASSERT_EQ(v.fields.size(), kFieldWidths.size());
      for (std::size_t i = 0; i < v.fields.size(); ++i) {
        EXPECT_EQ(v.fields[i].value, i == field ? 1u << place : 0u) << v.fields[i].name;
      }
    }
  }
  EXPECT_EQ(bit, 20);
}

TEST(MpegAudioHeader, NeedsFourBytesAndTheTwelveBitSyncword) {
  const std::vector<std::vector<std::uint8_t>> refused = {
      {},
      {0xFF, 0xFD, 0xB4},        // one byte short
      {0xFF, 0xE3, 0x84, 0xC4},  // the 11-bit sync of the 2.5 extension
      {0xFE, 0xFD, 0xB4, 0x04},
      {0x7F, 0xFD, 0xB4, 0x04},
      {0xFF, 0x7D, 0xB4, 0x04},
  };
  for (const auto& bytes : refused) {
    EXPECT_FALSE(DecodeMpegAudioHeader(bytes));
    EXPECT_FALSE(IsValidMpegAudioHeader(bytes));
  }
  const std::vector<std::uint8_t> longer = {0xFF, 0xFD, 0xB4, 0x04, 0x66, 0x44};
  EXPECT_TRUE(IsValidMpegAudioHeader(longer));
}

struct MeaningCase {
  HeaderBytes bytes;
  bool valid;
  int version;
  std::optional<int> layer, kbps, hz;
  int channels;
  std::optional<int> frame_bytes;
  const char* text;
};

TEST(MpegAudioHeader, WhatTheFieldsMean) {
  const MeaningCase cases[] = {
      // First headers as an encoder writes them.
      {{0xFF, 0xFD, 0xB4, 0x04}, true, 1, 2, 224, 48000, 2, 672, "MPEG-1 Layer II 224kbps 48000Hz 2ch stereo"},
      {{0xFF, 0xFD, 0xA4, 0xC4}, true, 1, 2, 192, 48000, 1, 576, "MPEG-1 Layer II 192kbps 48000Hz 1ch mono"},
      {{0xFF, 0xF5, 0x84, 0xC4}, true, 2, 2, 64, 24000, 1, 384, "MPEG-2 Layer II 64kbps 24000Hz 1ch mono"},
      {{0xFF, 0xFB, 0x90, 0x64}, true, 1, 3, 128, 44100, 2, 417, "MPEG-1 Layer III 128kbps 44100Hz 2ch joint stereo"},
      {{0xFF, 0xFB, 0x92, 0x64}, true, 1, 3, 128, 44100, 2, 418, "MPEG-1 Layer III 128kbps 44100Hz 2ch joint stereo"},
      {{0xFF, 0xF3, 0x84, 0xC4}, true, 2, 3, 64, 24000, 1, 192, "MPEG-2 Layer III 64kbps 24000Hz 1ch mono"},
      // The other rates and layers.
      {{0xFF, 0xFD, 0xC4, 0x00}, true, 1, 2, 256, 48000, 2, 768, "MPEG-1 Layer II 256kbps 48000Hz 2ch stereo"},
      {{0xFF, 0xFC, 0x18, 0x80}, true, 1, 2, 32, 32000, 2, 144, "MPEG-1 Layer II 32kbps 32000Hz 2ch dual channel"},
      {{0xFF, 0xFF, 0xC4, 0x00}, true, 1, 1, 384, 48000, 2, 384, "MPEG-1 Layer I 384kbps 48000Hz 2ch stereo"},
      // Layer I pads by a four-byte slot after rounding down: (8 + 1) x 4.
      {{0xFF, 0xFF, 0x12, 0x00}, true, 1, 1, 32, 44100, 2, 36, "MPEG-1 Layer I 32kbps 44100Hz 2ch stereo"},
      {{0xFF, 0xFB, 0xE8, 0x40}, true, 1, 3, 320, 32000, 2, 1440, "MPEG-1 Layer III 320kbps 32000Hz 2ch joint stereo"},
      {{0xFF, 0xF7, 0xE8, 0xC0}, true, 2, 1, 256, 16000, 1, 768, "MPEG-2 Layer I 256kbps 16000Hz 1ch mono"},
      {{0xFF, 0xF5, 0xE8, 0x00}, true, 2, 2, 160, 16000, 2, 1440, "MPEG-2 Layer II 160kbps 16000Hz 2ch stereo"},
      {{0xFF, 0xF3, 0x12, 0xC0}, true, 2, 3, 8, 22050, 1, 27, "MPEG-2 Layer III 8kbps 22050Hz 1ch mono"},
      // Codes that give no number.
      {{0xFF, 0xF9, 0xB4, 0x00}, false, 1, {}, {}, 48000, 2, {}, "MPEG-1 Layer ? ?kbps 48000Hz 2ch stereo"},
      {{0xFF, 0xFD, 0xF4, 0x00}, false, 1, 2, {}, 48000, 2, {}, "MPEG-1 Layer II ?kbps 48000Hz 2ch stereo"},
      {{0xFF, 0xFD, 0xBC, 0x00}, false, 1, 2, 224, {}, 2, {}, "MPEG-1 Layer II 224kbps ?Hz 2ch stereo"},
      {{0xFF, 0xF5, 0x8C, 0xC0}, false, 2, 2, 64, {}, 1, {}, "MPEG-2 Layer II 64kbps ?Hz 1ch mono"},
      {{0xFF, 0xFB, 0x00, 0x40}, true, 1, 3, {}, 44100, 2, {}, "MPEG-1 Layer III free format 44100Hz 2ch joint stereo"},
  };
  for (const MeaningCase& c : cases) {
    SCOPED_TRACE(c.text);
    const MpegAudioHeader h = Decoded(c.bytes);
    EXPECT_EQ(IsValidMpegAudioHeader(h), c.valid);
    EXPECT_EQ(MpegAudioVersion(h), c.version);
    EXPECT_EQ(MpegAudioLayer(h), c.layer);
    EXPECT_EQ(MpegAudioBitRateKbps(h), c.kbps);
    EXPECT_EQ(MpegAudioSampleRateHz(h), c.hz);
    EXPECT_EQ(MpegAudioChannels(h), c.channels);
    EXPECT_EQ(MpegAudioFrameBytes(h), c.frame_bytes);
    EXPECT_EQ(DescribeMpegAudio(h), c.text);
  }
}

TEST(MpegAudioHeader, BitRateTables) {
  struct Table {
    std::uint8_t ID, layer;  // raw codes
    std::array<int, 14> kbps;  // by bitrate_index 1 to 14
  } const tables[] = {
      {1, 3, {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}},
      {1, 2, {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384}},
      {1, 1, {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
      {0, 3, {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256}},
      {0, 2, {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
      {0, 1, {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
  };
  for (const Table& t : tables) {
    MpegAudioHeader h;
    h.ID = t.ID;
    h.layer = t.layer;
    for (std::uint8_t index = 1; index <= 14; ++index) {
      SCOPED_TRACE(::testing::Message() << "ID " << int{t.ID} << " layer " << int{t.layer} << " index "
                                        << int{index});
      h.bitrate_index = index;
      EXPECT_EQ(MpegAudioBitRateKbps(h), t.kbps[index - 1]);
    }
  }
}

TEST(MpegAudioHeader, ModeNames) {
  EXPECT_EQ(MpegAudioModeName(0), "stereo");
  EXPECT_EQ(MpegAudioModeName(1), "joint stereo");
  EXPECT_EQ(MpegAudioModeName(2), "dual channel");
  EXPECT_EQ(MpegAudioModeName(3), "mono");
}

TEST(MpegAudioHeader, ValuesAreTheRawFieldsByTheirNames) {
  const HeaderBytes bytes = {0xFF, 0xFD, 0xB4, 0x04};
  const HeaderValues v = ValuesOf(Decoded(bytes));
  std::vector<std::string> names;
  std::vector<unsigned> values;
  for (const NamedField& f : v.fields) {
    names.emplace_back(f.name);
    values.push_back(f.value);
  }
  const std::vector<std::string> expected_names = {
      "ID",          "layer",       "protection_bit", "bitrate_index", "sampling_frequency", "padding_bit",
      "private_bit", "mode",        "mode_extension", "copyright",     "original_copy",      "emphasis"};
  EXPECT_EQ(names, expected_names);
  EXPECT_EQ(values, (std::vector<unsigned>{1, 2, 1, 11, 1, 0, 0, 0, 0, 0, 1, 0}));
  EXPECT_EQ(v.version, 1);
  EXPECT_EQ(v.layer, 2);
  EXPECT_EQ(v.bit_rate_kbps, 224);
  EXPECT_EQ(v.sample_rate_hz, 48000);
  EXPECT_EQ(v.channels, 2);
  EXPECT_EQ(v.lfe, false);
  EXPECT_EQ(v.bits_per_sample, std::nullopt);
  EXPECT_EQ(v.layout, "stereo");
}

TEST(MpegAudioHeader, ValuesOfReservedCodesAreEmpty) {
  const HeaderBytes bytes = {0xFF, 0xF1, 0xFC, 0xC0};  // ID 0, layer 0, index 15, frequency 3
  const HeaderValues v = ValuesOf(Decoded(bytes));
  EXPECT_EQ(v.version, 2);
  EXPECT_EQ(v.layer, std::nullopt);
  EXPECT_EQ(v.bit_rate_kbps, std::nullopt);
  EXPECT_EQ(v.sample_rate_hz, std::nullopt);
  EXPECT_EQ(v.channels, 1);
  EXPECT_EQ(v.layout, "mono");
  EXPECT_EQ(v.fields[1].value, 0u);  // layer, raw
}

}  // namespace
}  // namespace tonvika
