#include "codecs/lpcm_samples.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace tonvika {

namespace {

// Sample periods in a 20- or 24-bit group, by channels minus one.
constexpr std::array<std::size_t, 8> kWidePeriods{4, 2, 4, 1, 4, 4, 4, 1};

void Unpack16(const std::uint8_t* from, std::size_t bytes, std::uint8_t* to) {
  for (std::size_t i = 0; i < bytes; i += 2) {
    to[i] = from[i + 1];
    to[i + 1] = from[i];
  }
}

// kPack upper words, then the low bits of each: a byte per sample at 24 bits,
// a nibble per sample at 20 (the low four output bits stay zero).
template <int kBits, std::size_t kPack>
void UnpackWide(const std::uint8_t* from, std::size_t bytes, std::uint8_t* to) {
  constexpr std::size_t kPackBytes = kPack * kBits / 8;
  for (const std::uint8_t* end = from + bytes; from != end; from += kPackBytes, to += 3 * kPack) {
    const std::uint8_t* low = from + 2 * kPack;
    for (std::size_t k = 0; k < kPack; ++k) {
      if constexpr (kBits == 24) {
        to[3 * k] = low[k];
      } else {
        const unsigned pair = low[k / 2];
        to[3 * k] = static_cast<std::uint8_t>(k % 2 == 0 ? pair & 0xF0 : (pair << 4) & 0xF0);
      }
      to[3 * k + 1] = from[2 * k + 1];
      to[3 * k + 2] = from[2 * k];
    }
  }
}

}  // namespace

LpcmUnpacker::LpcmUnpacker(const LpcmAttributes& attributes)
    : bits_(LpcmBitsPerSample(attributes).value_or(16)),
      channels_(LpcmChannels(attributes)),
      sample_rate_hz_(LpcmSampleRateHz(attributes).value_or(0)) {
  assert(LpcmBitsPerSample(attributes).has_value());
  const std::size_t channels = static_cast<std::size_t>(channels_);
  group_samples_ = bits_ == 16 ? channels : kWidePeriods[channels - 1] * channels;
  group_bytes_ = group_samples_ * static_cast<std::size_t>(bits_) / 8;
}

int LpcmUnpacker::OutputBitsPerSample() const { return bits_ == 16 ? 16 : 24; }

int LpcmUnpacker::Channels() const { return channels_; }

int LpcmUnpacker::SampleRateHz() const { return sample_rate_hz_; }

std::size_t LpcmUnpacker::GroupBytes() const { return group_bytes_; }

std::size_t LpcmUnpacker::Pending() const { return pending_bytes_; }

void LpcmUnpacker::Unpack(std::span<const std::uint8_t> packed, std::vector<std::uint8_t>& out) {
  const std::size_t groups = (pending_bytes_ + packed.size()) / group_bytes_;
  const std::size_t group_out = group_samples_ * static_cast<std::size_t>(OutputBitsPerSample()) / 8;
  std::size_t at = out.size();
  out.resize(at + groups * group_out);
  if (groups == 0) {
    std::copy(packed.begin(), packed.end(), pending_.begin() + static_cast<std::ptrdiff_t>(pending_bytes_));
    pending_bytes_ += packed.size();
    return;
  }
  if (pending_bytes_ > 0) {
    const std::size_t missing = group_bytes_ - pending_bytes_;
    std::copy_n(packed.begin(), missing, pending_.begin() + static_cast<std::ptrdiff_t>(pending_bytes_));
    UnpackGroups({pending_.data(), group_bytes_}, out.data() + at);
    at += group_out;
    packed = packed.subspan(missing);
  }
  const std::size_t whole = packed.size() / group_bytes_ * group_bytes_;
  UnpackGroups(packed.first(whole), out.data() + at);
  pending_bytes_ = packed.size() - whole;
  std::copy(packed.begin() + static_cast<std::ptrdiff_t>(whole), packed.end(), pending_.begin());
}

void LpcmUnpacker::UnpackGroups(std::span<const std::uint8_t> groups, std::uint8_t* to) const {
  const bool mono = channels_ == 1;
  if (bits_ == 16) {
    Unpack16(groups.data(), groups.size(), to);
  } else if (bits_ == 24) {
    (mono ? UnpackWide<24, 2> : UnpackWide<24, 4>)(groups.data(), groups.size(), to);
  } else {
    (mono ? UnpackWide<20, 2> : UnpackWide<20, 4>)(groups.data(), groups.size(), to);
  }
}

}  // namespace tonvika
