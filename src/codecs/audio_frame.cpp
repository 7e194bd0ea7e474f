#include "codecs/audio_frame.h"

#include <algorithm>
#include <tuple>

#include "codecs/frame_checks.h"

namespace tonvika {

namespace {

constexpr std::size_t kAc3HeaderBytes = 19;  // sync word to the last byte the decoder may read
constexpr std::size_t kAc3FrameByte4 = 4;
constexpr std::size_t kDtsSyncBytes = 4;
constexpr std::size_t kMpegHeaderBytes = 4;
constexpr std::uint8_t kDtsSync[kDtsSyncBytes] = {0x7F, 0xFE, 0x80, 0x01};

std::optional<AudioFrameHead> ReadAc3(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kAc3HeaderBytes || bytes[0] != 0x0B || bytes[1] != 0x77) return std::nullopt;
  const unsigned fscod = bytes[kAc3FrameByte4] >> 6;
  const unsigned frmsizecod = bytes[kAc3FrameByte4] & 0x3F;
  const std::optional<std::size_t> size = Ac3FrameBytes(fscod, frmsizecod);
  const std::optional<int> rate = Ac3SampleRateHz(static_cast<int>(fscod));
  if (!size || !rate) return std::nullopt;
  // The decoder reads destructively: it gets a copy.
  std::array<std::uint8_t, kAc3HeaderBytes> copy{};
  std::copy_n(bytes.begin(), copy.size(), copy.begin());
  const Ac3Header header = DecodeAc3Header(copy.data(), kAc3FrameByte4);
  if (!header.Decoded()) return std::nullopt;  // another syntax (E-AC-3), another frame size
  return AudioFrameHead{*size, kAc3FrameSamples, *rate, header};
}

std::optional<AudioFrameHead> ReadDts(std::span<const std::uint8_t> bytes) {
  DtsHeaderBytes header_bytes{};
  if (bytes.size() < kDtsSyncBytes + header_bytes.size() ||
      !std::equal(std::begin(kDtsSync), std::end(kDtsSync), bytes.begin())) {
    return std::nullopt;
  }
  std::copy_n(bytes.begin() + kDtsSyncBytes, header_bytes.size(), header_bytes.begin());
  const DtsHeader header = DecodeDtsHeader(header_bytes);
  const std::optional<std::size_t> size = DtsFrameBytes(header);
  const std::optional<int> rate = DtsSampleRateHz(header.Get(DtsField::kSfreq));
  if (!size || !rate) return std::nullopt;
  return AudioFrameHead{*size, DtsFrameSamples(header), *rate, header};
}

std::optional<AudioFrameHead> ReadMpeg(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kMpegHeaderBytes) return std::nullopt;
  const std::optional<MpegAudioHeader> header = DecodeMpegAudioHeader(bytes);
  if (!header || !IsValidMpegAudioHeader(*header)) return std::nullopt;
  const std::optional<int> size = MpegAudioFrameBytes(*header);
  const std::optional<int> rate = MpegAudioSampleRateHz(*header);
  if (!size || !rate) return std::nullopt;
  return AudioFrameHead{static_cast<std::size_t>(*size), MpegAudioFrameSamples(*header), *rate, *header};
}

DefiningFields Ac3Fields(const Ac3Header& h) {
  return {h.Get(Ac3Field::kFscod), static_cast<unsigned>(h.Get(Ac3Field::kFrmsizecod) >> 1), h.Get(Ac3Field::kBsid),
          h.Get(Ac3Field::kBsmod), h.Get(Ac3Field::kAcmod), h.Get(Ac3Field::kLfeon), h.Get(Ac3Field::kDialnorm)};
}

DefiningFields DtsFields(const DtsHeader& h) {
  return {h.Get(DtsField::kAmode), h.Get(DtsField::kSfreq),      h.Get(DtsField::kRate), h.Get(DtsField::kLff),
          h.Get(DtsField::kExtAudioId), h.Get(DtsField::kExtAudio), h.Get(DtsField::kPcmr), h.Get(DtsField::kDialnorm)};
}

DefiningFields MpegFields(const MpegAudioHeader& h) {
  return {h.ID, h.layer, h.bitrate_index, h.sampling_frequency, h.mode};
}

}  // namespace

std::optional<AudioFrameHead> ReadFrameHead(FrameFormat format, std::span<const std::uint8_t> bytes) {
  switch (format) {
    case FrameFormat::Ac3: return ReadAc3(bytes);
    case FrameFormat::Dts: return ReadDts(bytes);
    case FrameFormat::MpegAudio: return ReadMpeg(bytes);
  }
  return std::nullopt;
}

std::optional<FrameSpan> ReadFrameSpan(FrameFormat format, std::span<const std::uint8_t> bytes) {
  if (format == FrameFormat::Ac3) {
    // ReadAc3's checks, the syntax told by bsid alone (bits 7-3 of byte 5).
    if (bytes.size() < kAc3HeaderBytes || bytes[0] != 0x0B || bytes[1] != 0x77) return std::nullopt;
    const unsigned fscod = bytes[kAc3FrameByte4] >> 6;
    const std::optional<std::size_t> size = Ac3FrameBytes(fscod, bytes[kAc3FrameByte4] & 0x3Fu);
    const std::optional<int> rate = Ac3SampleRateHz(static_cast<int>(fscod));
    if (!size || !rate || (bytes[kAc3FrameByte4 + 1] >> 3) > kAc3LastKnownBsid) return std::nullopt;
    return FrameSpan{*size, kAc3FrameSamples, *rate};
  }
  const std::optional<AudioFrameHead> head = ReadFrameHead(format, bytes);
  if (!head) return std::nullopt;
  return FrameSpan{head->bytes, head->samples, head->sample_rate_hz};
}

std::uint8_t SyncByte(FrameFormat format) {
  switch (format) {
    case FrameFormat::Ac3: return 0x0B;
    case FrameFormat::Dts: return kDtsSync[0];
    case FrameFormat::MpegAudio: return 0xFF;
  }
  return 0;
}

bool SameFrameHead(FrameFormat format, std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
  struct Range {
    std::size_t first;
    std::size_t end;
  };
  constexpr std::size_t kAc3Crc1End = 4;
  const auto same = [&](Range range) {
    return std::equal(a.begin() + static_cast<std::ptrdiff_t>(range.first), a.begin() + static_cast<std::ptrdiff_t>(range.end),
                      b.begin() + static_cast<std::ptrdiff_t>(range.first));
  };
  std::size_t size = 0;
  switch (format) {
    case FrameFormat::Ac3: size = kAc3HeaderBytes; break;
    case FrameFormat::Dts: size = kDtsSyncBytes + std::tuple_size_v<DtsHeaderBytes>; break;
    case FrameFormat::MpegAudio: size = kMpegHeaderBytes; break;
  }
  if (a.size() < size || b.size() < size) return false;
  if (format == FrameFormat::Ac3) return same({0, 2}) && same({kAc3Crc1End, size});
  return same({0, size});
}

DefiningFields StreamDefiningFields(const TrackHeader& header) {
  if (const auto* ac3 = std::get_if<Ac3Header>(&header)) return Ac3Fields(*ac3);
  if (const auto* dts = std::get_if<DtsHeader>(&header)) return DtsFields(*dts);
  if (const auto* mpeg = std::get_if<MpegAudioHeader>(&header)) return MpegFields(*mpeg);
  return {};
}

std::optional<bool> FrameCrcHolds(const TrackHeader& header, std::span<const std::uint8_t> frame) {
  if (std::holds_alternative<Ac3Header>(header)) return Ac3FrameCrcsHold(frame);
  if (const auto* mpeg = std::get_if<MpegAudioHeader>(&header)) return MpegAudioCrcHolds(*mpeg, frame);
  return std::nullopt;
}

}  // namespace tonvika
