#pragma once
// Decoding the four-byte header of one MPEG audio frame (layers I to III, at
// the original and at the lower sampling frequencies) into plain field
// values, in stream order, and what they mean.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tonvika {

// The fields after the 12-bit syncword, raw, by their ISO/IEC 11172-3 names.
struct MpegAudioHeader {
  std::uint8_t ID = 0;                  // 1 MPEG-1, 0 the lower sampling frequencies
  std::uint8_t layer = 0;               // 3 Layer I, 2 Layer II, 1 Layer III, 0 reserved
  std::uint8_t protection_bit = 0;      // 0 when a CRC follows the header
  std::uint8_t bitrate_index = 0;       // 0 free format, 15 forbidden
  std::uint8_t sampling_frequency = 0;  // 3 reserved
  std::uint8_t padding_bit = 0;
  std::uint8_t private_bit = 0;
  std::uint8_t mode = 0;  // stereo, joint stereo, dual channel, mono
  std::uint8_t mode_extension = 0;
  std::uint8_t copyright = 0;
  std::uint8_t original_copy = 0;
  std::uint8_t emphasis = 0;
};

// The header at bytes[0..3]; none when there are fewer bytes or they do not
// begin with the syncword 0xFFF (the 11-bit sync of the unofficial 2.5
// extension is not taken).
std::optional<MpegAudioHeader> DecodeMpegAudioHeader(std::span<const std::uint8_t> bytes);

// No reserved or forbidden code in the fields a frame's length depends on:
// layer, bitrate_index and sampling_frequency. The second form also wants
// the syncword: a frame may begin at bytes[0].
bool IsValidMpegAudioHeader(const MpegAudioHeader& header);
bool IsValidMpegAudioHeader(std::span<const std::uint8_t> bytes);

// 1 by ID 1, 2 by ID 0.
int MpegAudioVersion(const MpegAudioHeader& header);
// 1 to 3; none for the reserved layer code 0.
std::optional<int> MpegAudioLayer(const MpegAudioHeader& header);
// None for free format, the forbidden index and the reserved layer.
std::optional<int> MpegAudioBitRateKbps(const MpegAudioHeader& header);
// None for the reserved code 3.
std::optional<int> MpegAudioSampleRateHz(const MpegAudioHeader& header);
// 1 for mono, 2 otherwise (dual channel too).
int MpegAudioChannels(const MpegAudioHeader& header);
// "stereo", "joint stereo", "dual channel", "mono".
std::string_view MpegAudioModeName(int mode);
// The whole frame, header and padding included; none where the header does
// not give it (free format or a reserved code).
std::optional<int> MpegAudioFrameBytes(const MpegAudioHeader& header);

// Version, layer, bit rate, sampling rate, channels and mode, such as
// "MPEG-1 Layer II 224kbps 48000Hz 2ch stereo". A number the header does
// not give reads "?" ("Layer ?", "?kbps", "?Hz"); free format reads "free
// format" in place of the bit rate.
std::string DescribeMpegAudio(const MpegAudioHeader& header);

}  // namespace tonvika
