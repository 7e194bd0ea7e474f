#include "lang/text_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace tonvika {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The length of the well-formed UTF-8 character at text[i], or 0 when the
// bytes there do not form one (RFC 3629 table of well-formed sequences).
std::size_t Utf8CharLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
  const std::uint8_t lead = byte(i);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  std::uint8_t low = 0x80;  // range of the second byte
  std::uint8_t high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (text.size() - i < length) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  }
  return length;
}

// An iconv conversion descriptor, closed when it goes out of scope.
class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : handle_(::iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("no conversion from ") + from + " to " + to);
    }
  }
  ~IconvHandle() { ::iconv_close(handle_); }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  iconv_t get() const { return handle_; }

 private:
  iconv_t handle_;
};

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8CharLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::size_t LastUtf8CharLength(std::string_view text) {
  if (text.empty()) return 0;
  // Walk back over at most three continuation bytes to a lead byte.
  std::size_t start = text.size() - 1;
  while (start > 0 && text.size() - start < 4 &&
         (static_cast<std::uint8_t>(text[start]) & 0xC0) == 0x80) {
    --start;
  }
  const std::size_t length = Utf8CharLength(text, start);
  return length == text.size() - start ? length : 1;
}

std::string Cp932ToUtf8(std::string_view text) {
  // iconv is handed the input a slice at a time: instrumented builds check
  // the whole input range on every call, which made long garbage quadratic.
  constexpr std::size_t kInputSlice = 4096;
  IconvHandle converter("UTF-8", "CP932");
  std::string result;
  result.reserve(text.size() * 3 / 2 + 16);
  std::vector<char> chunk(4 * kInputSlice);

  char* in = const_cast<char*>(text.data());  // iconv's interface is not const-correct
  std::size_t in_left = text.size();
  while (in_left > 0) {
    const std::size_t slice = std::min(in_left, kInputSlice);
    std::size_t slice_left = slice;
    char* out = chunk.data();
    std::size_t out_left = chunk.size();
    const std::size_t status = ::iconv(converter.get(), &in, &slice_left, &out, &out_left);
    const int error = errno;
    in_left -= slice - slice_left;
    result.append(chunk.data(), chunk.size() - out_left);
    if (status != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    // A character cut by the end of the slice is read whole with the next one.
    if (error == EINVAL && in_left > slice_left) continue;
    // EILSEQ (invalid sequence) or EINVAL (incomplete sequence at the very
    // end): stand in for one byte and go on with the next.
    result.append(kReplacement);
    ++in;
    --in_left;
    ::iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
  }
  return result;
}

}  // namespace tonvika
