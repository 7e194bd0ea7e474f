#include "codecs/mpeg_audio_header.h"

#include <array>
#include <cstddef>

namespace tonvika {

namespace {

constexpr unsigned kSyncword = 0xFFF;
constexpr std::uint8_t kReservedLayer = 0;
constexpr std::uint8_t kFreeFormat = 0;
constexpr std::uint8_t kForbiddenBitrate = 15;
constexpr std::uint8_t kReservedSamplingFrequency = 3;
constexpr std::uint8_t kMono = 3;

// The four header bytes as one big-endian word, taken from the top.
class HeaderBits {
 public:
  explicit HeaderBits(std::span<const std::uint8_t> bytes)
      : word_(static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
              static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3]) {}

  unsigned Take(int width) {
    left_ -= width;
    return (word_ >> left_) & ((1u << width) - 1);
  }
  std::uint8_t TakeField(int width) { return static_cast<std::uint8_t>(Take(width)); }

 private:
  std::uint32_t word_;
  int left_ = 32;
};

// Kilobits per second by bitrate_index, one row per table (see BitRateRow);
// 0 for free format and the forbidden 15.
constexpr std::array<std::array<int, 16>, 5> kBitRates = {{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},  // MPEG-1 Layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},     // MPEG-1 Layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},      // MPEG-1 Layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},     // MPEG-2 Layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},          // MPEG-2 Layers II, III
}};

// Hertz by sampling_frequency at ID 1; ID 0 halves them.
constexpr std::array<int, 4> kSampleRates = {44100, 48000, 32000, 0};

constexpr std::array<std::string_view, 4> kModeNames = {"stereo", "joint stereo", "dual channel", "mono"};

// By layer 1 to 3, "?" for none.
constexpr std::array<std::string_view, 4> kLayerNames = {"?", "I", "II", "III"};

std::size_t BitRateRow(int version, int layer) {
  if (version == 1) return static_cast<std::size_t>(layer - 1);
  return layer == 1 ? 3 : 4;
}

// A frame is so many slots: 4 bytes each in Layer I, one byte in the others.
struct FrameSlots {
  int per_bit_per_hz;  // slots per (bit per second / hertz)
  int slot_bytes;
};

FrameSlots SlotsOf(int version, int layer) {
  if (layer == 1) return {12, 4};
  // Layer III at the lower sampling frequencies has half the samples.
  if (layer == 3 && version == 2) return {72, 1};
  return {144, 1};
}

std::optional<int> NonZero(int value) { return value == 0 ? std::nullopt : std::optional<int>(value); }

std::string NumberOrUnknown(const std::optional<int>& value) { return value ? std::to_string(*value) : "?"; }

}  // namespace

std::optional<MpegAudioHeader> DecodeMpegAudioHeader(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 4) return std::nullopt;
  HeaderBits in(bytes);
  if (in.Take(12) != kSyncword) return std::nullopt;
  MpegAudioHeader h;
  h.ID = in.TakeField(1);
  h.layer = in.TakeField(2);
  h.protection_bit = in.TakeField(1);
  h.bitrate_index = in.TakeField(4);
  h.sampling_frequency = in.TakeField(2);
  h.padding_bit = in.TakeField(1);
  h.private_bit = in.TakeField(1);
  h.mode = in.TakeField(2);
  h.mode_extension = in.TakeField(2);
  h.copyright = in.TakeField(1);
  h.original_copy = in.TakeField(1);
  h.emphasis = in.TakeField(2);
  return h;
}

bool IsValidMpegAudioHeader(const MpegAudioHeader& h) {
  return h.layer != kReservedLayer && h.bitrate_index != kForbiddenBitrate &&
         h.sampling_frequency != kReservedSamplingFrequency;
}

bool IsValidMpegAudioHeader(std::span<const std::uint8_t> bytes) {
  const auto header = DecodeMpegAudioHeader(bytes);
  return header && IsValidMpegAudioHeader(*header);
}

int MpegAudioVersion(const MpegAudioHeader& h) { return h.ID == 1 ? 1 : 2; }

std::optional<int> MpegAudioLayer(const MpegAudioHeader& h) {
  if (h.layer == kReservedLayer) return std::nullopt;
  return 4 - (h.layer & 3);
}

std::optional<int> MpegAudioBitRateKbps(const MpegAudioHeader& h) {
  const auto layer = MpegAudioLayer(h);
  if (!layer) return std::nullopt;
  return NonZero(kBitRates[BitRateRow(MpegAudioVersion(h), *layer)][h.bitrate_index & 15]);
}

std::optional<int> MpegAudioSampleRateHz(const MpegAudioHeader& h) {
  const int hz = kSampleRates[h.sampling_frequency & 3];
  return NonZero(MpegAudioVersion(h) == 1 ? hz : hz / 2);
}

int MpegAudioChannels(const MpegAudioHeader& h) { return h.mode == kMono ? 1 : 2; }

std::string_view MpegAudioModeName(int mode) { return kModeNames[static_cast<std::size_t>(mode) & 3]; }

std::optional<int> MpegAudioFrameBytes(const MpegAudioHeader& h) {
  const auto layer = MpegAudioLayer(h);
  const auto kbps = MpegAudioBitRateKbps(h);
  const auto hz = MpegAudioSampleRateHz(h);
  if (!layer || !kbps || !hz) return std::nullopt;
  const FrameSlots slots = SlotsOf(MpegAudioVersion(h), *layer);
  // Whole slots, then the padding slot.
  const int whole = slots.per_bit_per_hz * *kbps * 1000 / *hz;
  return (whole + (h.padding_bit & 1)) * slots.slot_bytes;
}

std::string DescribeMpegAudio(const MpegAudioHeader& h) {
  std::string text = "MPEG-" + std::to_string(MpegAudioVersion(h));
  text += " Layer ";
  text += kLayerNames[static_cast<std::size_t>(MpegAudioLayer(h).value_or(0))];
  text += h.bitrate_index == kFreeFormat ? " free format" : " " + NumberOrUnknown(MpegAudioBitRateKbps(h)) + "kbps";
  text += " " + NumberOrUnknown(MpegAudioSampleRateHz(h)) + "Hz";
  text += " " + std::to_string(MpegAudioChannels(h)) + "ch ";
  text += MpegAudioModeName(h.mode);
  return text;
}

}  // namespace tonvika
