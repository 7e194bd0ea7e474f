#include "codecs/dts_fields.h"

#include <array>
#include <cstdio>

namespace tonvika {

namespace {

// One entry of the field texts: the text applies to `key` for raw values
// `low` to `high`. A hex entry shows the value itself after `text`.
struct DtsFieldText {
  std::string_view key;
  std::uint8_t low;
  std::uint8_t high;
  std::string_view text;
  bool hex_of_value = false;
};

// Compared in this order; the flags without an entry of their own (CPF, MIX,
// DYNF, TIMEF, AUXF, EXT_AUDIO, ASPF, HFLAG) fall through to PresentText.
constexpr std::array<DtsFieldText, 18> kDtsFieldTexts{{
    {"FTYPE", 0, 0, "Termination frame"},
    {"FTYPE", 1, 1, "Normal frame"},
    {"SHORT", 0, 30, "[0..30]"},
    {"SHORT", 31, 31, "31(indicating Normal frame)"},
    {"NBLKS", 0, 255, "&H", true},
    {"HDCD", 0, 0, "The source material is mastered in HDCD: No"},
    {"HDCD", 1, 1, "The source material is mastered in HDCD: Yes"},
    {"EXT_AUDIO_ID", 0, 0, "Channel Extension(Xch)"},
    {"EXT_AUDIO_ID", 1, 1, "Reserved"},
    {"EXT_AUDIO_ID", 2, 2, "Frequency Extension (X96k)"},
    {"EXT_AUDIO_ID", 3, 3, "Xch and X96k"},
    {"EXT_AUDIO_ID", 4, 7, "Reserved"},
    {"FILTS", 0, 0, "Non-perfect Reconstruction"},
    {"FILTS", 1, 1, "Perfect Reconstruction"},
    {"SUMF", 0, 0, "0:L=L,R=R"},
    {"SUMF", 1, 1, "1:L=L+R,R=L-R"},
    {"SUMS", 0, 0, "0:Ls=Ls,Rs=Rs"},
    {"SUMS", 1, 1, "1:Ls=Ls+Rs,Rs=Ls-Rs"},
}};

std::string EntryText(const DtsFieldText& entry, std::uint8_t value) {
  std::string text(entry.text);
  if (entry.hex_of_value) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned>(value));
    text += digits;
  }
  return text;
}

// The fallback for one-bit flags: 0 and 1 read as absent and present.
std::string PresentText(std::uint8_t value) {
  if (value == 0) return "Not Present";
  if (value == 1) return "Present";
  return {};
}

}  // namespace

std::string DescribeDtsField(std::string_view key, std::uint8_t value) {
  std::string text;
  for (const auto& entry : kDtsFieldTexts) {
    if (entry.key == key && value >= entry.low && value <= entry.high) {
      text = EntryText(entry, value);
      break;
    }
  }
  if (text.empty()) text = PresentText(value);
  return text;
}

}  // namespace tonvika
