#include "codecs/wav_header.h"

#include <string_view>

namespace tonvika {

namespace {

// A DVD LPCM stream says how many channels it has, not where they go. These
// are the positions ffmpeg gives each count (its default layouts: 2.1, 4.0,
// 5.0, 5.1, 6.1, 7.1 from three channels up), so that a file written here and
// one ffmpeg writes from the same stream play alike.
constexpr std::array<std::uint32_t, 8> kChannelMasks{
    0x004,  // FC
    0x003,  // FL FR
    0x00B,  // FL FR LFE
    0x107,  // FL FR FC BC
    0x037,  // FL FR FC BL BR
    0x03F,  // FL FR FC LFE BL BR
    0x70F,  // FL FR FC LFE BC SL SR
    0x63F,  // FL FR FC LFE BL BR SL SR
};

constexpr std::uint64_t kRiffLimit = std::uint64_t{1} << 32;
constexpr std::uint32_t kSizeInDs64 = 0xFFFFFFFF;
constexpr std::uint32_t kDs64Bytes = 28;
constexpr std::uint32_t kPcmFmtBytes = 16;
constexpr std::uint32_t kExtensibleFmtBytes = 40;
constexpr std::uint16_t kFormatPcm = 0x0001;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::uint16_t kExtensionBytes = 22;
// KSDATAFORMAT_SUBTYPE_PCM as it is stored.
constexpr std::array<std::uint8_t, 16> kPcmSubFormat{0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                                     0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// Little-endian fields written one after another; untouched bytes stay zero.
class HeaderWriter {
 public:
  explicit HeaderWriter(std::array<std::uint8_t, kWavHeaderBytes>& bytes) : bytes_(bytes) {}
  void Tag(std::string_view tag) {
    for (const char c : tag) bytes_[at_++] = static_cast<std::uint8_t>(c);
  }
  void Number(std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes_[at_++] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  void Chunk(std::string_view tag, std::uint32_t size) {
    Tag(tag);
    Number(size, 4);
  }
  void Skip(std::size_t size) { at_ += size; }

 private:
  std::array<std::uint8_t, kWavHeaderBytes>& bytes_;
  std::size_t at_ = 0;
};

// Samples sit in whole bytes.
std::uint32_t ContainerBits(const WavFormat& f) { return static_cast<std::uint32_t>((f.bits_per_sample + 7) / 8 * 8); }

std::uint32_t BlockAlign(const WavFormat& f) { return static_cast<std::uint32_t>(f.channels) * ContainerBits(f) / 8; }

void WriteFormat(HeaderWriter& w, const WavFormat& f) {
  const bool extensible = f.channels > 2 || f.bits_per_sample > 16;
  const std::uint32_t block_align = BlockAlign(f);
  w.Chunk("fmt ", extensible ? kExtensibleFmtBytes : kPcmFmtBytes);
  w.Number(extensible ? kFormatExtensible : kFormatPcm, 2);
  w.Number(static_cast<std::uint32_t>(f.channels), 2);
  w.Number(static_cast<std::uint32_t>(f.sample_rate_hz), 4);
  w.Number(static_cast<std::uint64_t>(f.sample_rate_hz) * block_align, 4);
  w.Number(block_align, 2);
  w.Number(ContainerBits(f), 2);
  if (extensible) {
    w.Number(kExtensionBytes, 2);
    w.Number(static_cast<std::uint32_t>(f.bits_per_sample), 2);
    w.Number(WavChannelMask(f.channels), 4);
    for (const std::uint8_t b : kPcmSubFormat) w.Number(b, 1);
  } else {
    // Pads the PCM form to the extensible one's length.
    w.Chunk("JUNK", kExtensibleFmtBytes - kPcmFmtBytes - 8);
    w.Skip(kExtensibleFmtBytes - kPcmFmtBytes - 8);
  }
}

}  // namespace

std::uint32_t WavChannelMask(int channels) {
  return channels >= 1 && channels <= 8 ? kChannelMasks[static_cast<std::size_t>(channels - 1)] : 0;
}

std::array<std::uint8_t, kWavHeaderBytes> WavHeader(const WavFormat& format, std::uint64_t data_bytes) {
  std::array<std::uint8_t, kWavHeaderBytes> bytes{};
  HeaderWriter w(bytes);
  const std::uint64_t file_bytes = kWavHeaderBytes + data_bytes + (data_bytes & 1);
  const bool rf64 = file_bytes >= kRiffLimit;
  w.Chunk(rf64 ? "RF64" : "RIFF", rf64 ? kSizeInDs64 : static_cast<std::uint32_t>(file_bytes - 8));
  w.Tag("WAVE");
  w.Chunk(rf64 ? "ds64" : "JUNK", kDs64Bytes);
  if (rf64) {
    const std::uint32_t frame_bytes = BlockAlign(format);
    w.Number(file_bytes - 8, 8);
    w.Number(data_bytes, 8);
    w.Number(frame_bytes == 0 ? 0 : data_bytes / frame_bytes, 8);  // sample periods
    w.Number(0, 4);                                                  // no table
  } else {
    w.Skip(kDs64Bytes);
  }
  WriteFormat(w, format);
  w.Chunk("data", rf64 ? kSizeInDs64 : static_cast<std::uint32_t>(data_bytes));
  return bytes;
}

}  // namespace tonvika
