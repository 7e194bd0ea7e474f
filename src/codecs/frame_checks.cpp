#include "codecs/frame_checks.h"

#include <array>

#include "codecs/ac3_header.h"
#include "codecs/crc16.h"

namespace tonvika {

namespace {

// --- AC-3 ---------------------------------------------------------------
constexpr unsigned kFscod48k = 0;
constexpr unsigned kFscod44k = 1;
constexpr unsigned kFscod32k = 2;
constexpr std::size_t kAc3SyncBytes = 2;

// --- DTS ----------------------------------------------------------------
constexpr unsigned kDtsSmallestFsize = 95;  // frames are 96 bytes or more
constexpr std::uint32_t kDtsSamplesPerBlock = 32;

// --- MPEG audio -----------------------------------------------------------
constexpr unsigned kLayer1Code = 3;
constexpr unsigned kLayer2Code = 2;
constexpr unsigned kMonoMode = 3;
constexpr unsigned kJointStereoMode = 1;
constexpr std::size_t kMpegHeaderBytes = 4;
constexpr std::size_t kMpegCrcBytes = 2;
constexpr int kLayer1Subbands = 32;
constexpr int kLayer1AllocationBits = 4;
constexpr int kScfsiBits = 2;
constexpr int kMaxSubbands = 32;
constexpr int kChannelsMax = 2;

// Layer II allocation tables: the number of subbands, and the bits of each
// subband's allocation (ISO/IEC 11172-3 tables B.2a to B.2d; 13818-3 B.1).
struct AllocationTable {
  int subbands;
  std::array<std::uint8_t, kMaxSubbands> bits;
};
constexpr AllocationTable kTableB2a{27, {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 2, 2}};
constexpr AllocationTable kTableB2b{
    30, {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2}};
constexpr AllocationTable kTableB2c{8, {4, 4, 3, 3, 3, 3, 3, 3}};
constexpr AllocationTable kTableB2d{12, {4, 4, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3}};
constexpr AllocationTable kTableLowRates{
    30, {4, 4, 4, 4, 3, 3, 3, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2}};

// Side information of Layer III, in bytes: MPEG-1 mono and stereo, then the
// lower sampling rates.
constexpr std::size_t kLayer3SideInfo[2][2] = {{9, 17}, {17, 32}};

// The table by the bit rate per channel and the sampling rate.
const AllocationTable& Layer2Table(const MpegAudioHeader& header, int kbps, int rate_hz) {
  if (header.ID == 0) return kTableLowRates;
  const int per_channel = kbps / MpegAudioChannels(header);
  if ((rate_hz == 48000 && per_channel >= 56) || (per_channel >= 56 && per_channel <= 80)) return kTableB2a;
  if (rate_hz != 48000 && per_channel >= 96) return kTableB2b;
  if (rate_hz != 32000 && per_channel <= 48) return kTableB2c;
  return kTableB2d;
}

// Reads bits from the protected side information, most significant first,
// and carries the CRC on over every bit read.
class ProtectedBits {
 public:
  ProtectedBits(std::span<const std::uint8_t> bytes, std::uint16_t crc) : bytes_(bytes), crc_(crc) {}

  // False once a read ran past the frame.
  bool Read(int count, unsigned& value) {
    value = 0;
    for (int i = 0; i < count; ++i) {
      const std::size_t byte = position_ / 8;
      if (byte >= bytes_.size()) return false;
      const int shift = 7 - static_cast<int>(position_ % 8);
      const unsigned bit = (bytes_[byte] >> shift) & 1u;
      crc_ = Crc16Bits(crc_, static_cast<std::uint8_t>(bit << 7), 1);
      value = (value << 1) | bit;
      ++position_;
    }
    return true;
  }
  std::uint16_t Crc() const { return crc_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
  std::uint16_t crc_;
};

int JointStereoBound(const MpegAudioHeader& header, int subbands) {
  if (header.mode != kJointStereoMode) return subbands;
  return std::min(subbands, (header.mode_extension + 1) * 4);
}

bool ReadLayer1(const MpegAudioHeader& header, ProtectedBits& bits) {
  const int channels = MpegAudioChannels(header);
  const int bound = JointStereoBound(header, kLayer1Subbands);
  unsigned value = 0;
  for (int sb = 0; sb < kLayer1Subbands; ++sb) {
    for (int ch = 0; ch < (sb < bound ? channels : 1); ++ch) {
      if (!bits.Read(kLayer1AllocationBits, value)) return false;
    }
  }
  return true;
}

bool ReadLayer2(const MpegAudioHeader& header, int kbps, int rate_hz, ProtectedBits& bits) {
  const AllocationTable& table = Layer2Table(header, kbps, rate_hz);
  const int channels = MpegAudioChannels(header);
  const int bound = JointStereoBound(header, table.subbands);
  std::array<std::array<unsigned, kMaxSubbands>, kChannelsMax> allocation{};
  for (int sb = 0; sb < table.subbands; ++sb) {
    const int bits_here = table.bits[static_cast<std::size_t>(sb)];
    for (int ch = 0; ch < channels; ++ch) {
      // Above the bound both channels share one allocation.
      if (sb >= bound && ch > 0) {
        allocation[1][static_cast<std::size_t>(sb)] = allocation[0][static_cast<std::size_t>(sb)];
        continue;
      }
      if (!bits.Read(bits_here, allocation[static_cast<std::size_t>(ch)][static_cast<std::size_t>(sb)])) return false;
    }
  }
  unsigned scfsi = 0;
  for (int sb = 0; sb < table.subbands; ++sb) {
    for (int ch = 0; ch < channels; ++ch) {
      if (allocation[static_cast<std::size_t>(ch)][static_cast<std::size_t>(sb)] == 0) continue;
      if (!bits.Read(kScfsiBits, scfsi)) return false;
    }
  }
  return true;
}

}  // namespace

std::optional<std::size_t> Ac3FrameBytes(unsigned fscod, unsigned frmsizecod) {
  const std::optional<int> kbps = Ac3BitRateKbps(static_cast<int>(frmsizecod));
  if (!kbps || frmsizecod >= 38) return std::nullopt;
  const auto rate = static_cast<std::size_t>(*kbps);
  switch (fscod) {
    case kFscod48k: return rate * 4;  // 2 x kbps words
    case kFscod32k: return rate * 6;  // 3 x kbps words
    case kFscod44k: return (rate * 320 / 147 + (frmsizecod & 1)) * 2;
    default: return std::nullopt;
  }
}

bool Ac3FrameCrcsHold(std::span<const std::uint8_t> frame) {
  const std::size_t words = frame.size() / 2;
  const std::size_t five_eighths = ((words >> 1) + (words >> 3)) * 2;
  if (frame.size() < five_eighths || five_eighths < kAc3SyncBytes) return false;
  const bool crc1 = Crc16(0, frame.subspan(kAc3SyncBytes, five_eighths - kAc3SyncBytes)) == 0;
  const bool crc2 = Crc16(0, frame.subspan(five_eighths)) == 0;
  return crc1 && crc2;
}

std::optional<std::size_t> DtsFrameBytes(const DtsHeader& header) {
  const unsigned fsize = header.Get(DtsField::kFsize);
  if (fsize < kDtsSmallestFsize) return std::nullopt;
  return std::size_t{fsize} + 1;
}

std::uint32_t DtsFrameSamples(const DtsHeader& header) {
  return (header.Get(DtsField::kNblks) + 1) * kDtsSamplesPerBlock;
}

std::uint32_t MpegAudioFrameSamples(const MpegAudioHeader& header) {
  if (header.layer == kLayer1Code) return 384;
  if (header.layer == kLayer2Code || header.ID == 1) return 1152;
  return 576;
}

std::optional<bool> MpegAudioCrcHolds(const MpegAudioHeader& header, std::span<const std::uint8_t> frame) {
  if (header.protection_bit != 0 || frame.size() < kMpegHeaderBytes + kMpegCrcBytes) return std::nullopt;
  const std::uint16_t stored = static_cast<std::uint16_t>((frame[4] << 8) | frame[5]);
  const std::uint16_t start = Crc16(0xFFFF, frame.subspan(2, 2));
  const std::span<const std::uint8_t> side = frame.subspan(kMpegHeaderBytes + kMpegCrcBytes);
  if (header.layer != kLayer1Code && header.layer != kLayer2Code) {
    const std::size_t length = kLayer3SideInfo[header.ID][header.mode == kMonoMode ? 0 : 1];
    if (side.size() < length) return std::nullopt;
    return Crc16(start, side.first(length)) == stored;
  }
  const std::optional<int> kbps = MpegAudioBitRateKbps(header);
  const std::optional<int> rate = MpegAudioSampleRateHz(header);
  if (!kbps || !rate) return std::nullopt;
  ProtectedBits bits(side, start);
  const bool read = header.layer == kLayer1Code ? ReadLayer1(header, bits) : ReadLayer2(header, *kbps, *rate, bits);
  if (!read) return std::nullopt;
  return bits.Crc() == stored;
}

}  // namespace tonvika
