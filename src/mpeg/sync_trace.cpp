#include "mpeg/sync_trace.h"

#include <array>

namespace tonvika {

namespace {

constexpr std::array<char, 16> kHexDigits{'0', '1', '2', '3', '4', '5', '6', '7',
                                          '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
constexpr int kMinOffsetDigits = 6;

// Upper-case hexadecimal of `value` with at least `min_digits` digits.
// Returns the position after the last digit written.
char* WriteHex(char* out, std::size_t value, int min_digits) {
  std::array<char, 2 * sizeof(std::size_t)> digits{};
  int count = 0;
  do {
    digits[count++] = kHexDigits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  while (count < min_digits) digits[count++] = '0';
  while (count > 0) *out++ = digits[--count];
  return out;
}

// The fields two successive frames must share: fscod/frmsizecod (byte 4),
// bsid/bsmod (byte 5) and acmod plus the bit after it (top of byte 6).
constexpr std::array<std::uint8_t, 3> kAgreementMask{0xFF, 0xFF, 0xF0};

// Where the two compared pieces lie in a trace of 17-character entries:
// characters 8 to 15 of the entry before the last and of the last entry.
constexpr std::size_t kMinAgreeingLength = 50;
constexpr std::size_t kEarlierPieceFromEnd = 27;
constexpr std::size_t kLaterPieceFromEnd = 10;
constexpr std::size_t kPieceLength = 8;

}  // namespace

void AppendSyncCandidate(SyncTrace& trace, std::size_t offset, std::uint8_t byte4,
                         std::uint8_t byte5, std::uint8_t byte6) {
  std::array<char, 40> entry{};
  char* out = entry.data();
  *out++ = '[';
  out = WriteHex(out, offset, kMinOffsetDigits);
  for (const std::uint8_t byte : {byte4, byte5, byte6}) {
    *out++ = ' ';
    out = WriteHex(out, byte, 2);
  }
  *out++ = ']';
  trace.text.append(entry.data(), out);

  trace.previous = trace.last;
  trace.last = {byte4, byte5, byte6};
  ++trace.count;
}

bool LastTwoSyncsAgree(const SyncTrace& trace) {
  if (trace.count < 3) return false;
  for (std::size_t i = 0; i < kAgreementMask.size(); ++i) {
    if ((trace.previous[i] & kAgreementMask[i]) != (trace.last[i] & kAgreementMask[i])) return false;
  }
  return true;
}

bool LastTwoSyncsAgree(std::string_view trace_text) {
  const std::size_t m = trace_text.size();
  if (m < kMinAgreeingLength) return false;
  return trace_text.substr(m - kEarlierPieceFromEnd, kPieceLength) ==
         trace_text.substr(m - kLaterPieceFromEnd, kPieceLength);
}

}  // namespace tonvika
