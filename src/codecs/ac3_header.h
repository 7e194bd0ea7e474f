#pragma once
// Decoding the head of one AC-3 sync frame (A/52 syncinfo byte 4 and the bit
// stream information) into plain field values, in stream order.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tonvika {

// Every field the decoder may read, in the order the stream carries them.
enum class Ac3Field : std::uint8_t {
  kFscod, kFrmsizecod, kBsid, kBsmod, kAcmod,
  kCmixlev, kSurmixlev, kDsurmod, kLfeon, kDialnorm, kCompre, kCompr, kLangcode, kLangcod,
  kAudprodie, kMixlevel, kRoomtyp, kDialnorm2, kCompr2e, kCompr2, kLangcod2e, kLangcod2,
  kAudprodi2e, kMixlevel2, kRoomtyp2, kCopyrightb, kOrigbs, kXbsi1e, kDmixmod, kLtrtcmixlev,
  kLtrtsurmixlev, kLorocmixlev, kLorosurmixlev, kXbsi2e, kDsurexmod, kDheadphonmod,
  kAdconvtyp, kXbsi2,
  kCount
};
inline constexpr std::size_t kAc3FieldCount = static_cast<std::size_t>(Ac3Field::kCount);

// The field's name in A/52 ("fscod", "audprodie", "ltrtsurmixlev" ...).
std::string_view Ac3FieldName(Ac3Field field);

inline constexpr int kAc3LastKnownBsid = 8;       // later bsids are another syntax
inline constexpr int kAc3AlternateSyntaxBsid = 6;  // carries the two extra blocks

struct Ac3Header {
  std::array<std::uint8_t, kAc3FieldCount> values{};
  std::array<bool, kAc3FieldCount> read{};

  bool Has(Ac3Field field) const { return read[static_cast<std::size_t>(field)]; }
  // The value read, or 0 for a field the frame did not carry.
  std::uint8_t Get(Ac3Field field) const { return values[static_cast<std::size_t>(field)]; }
  // False for bsid 9 and above: nothing after acmod was read.
  bool Decoded() const { return Get(Ac3Field::kBsid) <= kAc3LastKnownBsid; }
};

// What the fixed fields mean: kilobits per second by frmsizecod (none for
// codes 38 to 63), hertz by fscod (none for the reserved 3), and the number
// of full-bandwidth channels by acmod (2 for 1+1).
std::optional<int> Ac3BitRateKbps(int frmsizecod);
std::optional<int> Ac3SampleRateHz(int fscod);
int Ac3FullBandwidthChannels(int acmod);
// "1+1", "1/0", "2/0" ... "3/2": front/rear channels by acmod.
std::string_view Ac3ChannelMode(int acmod);

// `offset` is frame byte 4 (fscod/frmsizecod). Reads the fifteen bytes from
// there destructively, through TakeBits; the caller guarantees they exist.
// For bsid above 8 stops after acmod.
Ac3Header DecodeAc3Header(std::uint8_t* buffer, std::size_t offset);

}  // namespace tonvika
