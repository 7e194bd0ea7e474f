#include "mpeg/start_code_search.h"

#include <cstring>

namespace tonvika {

namespace {
constexpr std::uint8_t kStreamIdByte = 0xBD;  // private stream 1
constexpr std::size_t kPrefixLength = 3;      // 00 00 01 before the stream id
}  // namespace

// The search looks for the stream id byte with memchr, which skips long runs
// without it (zeros, 0x01 filler, most of a video payload) at memory speed,
// and checks the three prefix bytes only where it lands. Every position in
// [from, end) is covered, so the start codes found are exactly those a
// byte-by-byte comparison would find, in the same order.
std::size_t FindPrivateStreamStart(const std::uint8_t* buffer, std::size_t from, std::size_t end) {
  if (from >= end) return end;
  const std::uint8_t* cursor = buffer + from + kPrefixLength;
  const std::uint8_t* const stop = buffer + end + kPrefixLength;
  while (cursor < stop) {
    const void* hit = std::memchr(cursor, kStreamIdByte, static_cast<std::size_t>(stop - cursor));
    if (hit == nullptr) return end;
    const auto* id = static_cast<const std::uint8_t*>(hit);
    if (id[-1] == 0x01 && id[-2] == 0x00 && id[-3] == 0x00) {
      return static_cast<std::size_t>(id - kPrefixLength - buffer);
    }
    cursor = id + 1;
  }
  return end;
}

}  // namespace tonvika
