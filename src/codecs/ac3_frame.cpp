#include "codecs/ac3_frame.h"

#include <array>
#include <cctype>
#include <charconv>
#include <string_view>

#include "analysis/track_slots.h"
#include "codecs/ac3_fields.h"
#include "codecs/take_bits.h"

namespace tonvika {

namespace {

// Kilobits per second by frmsizecod >> 1; codes 38 to 63 give 0.
constexpr std::array<int, 32> kBitRates = {32,  40,  48,  56,  64,  80,  96,  112,
                                           128, 160, 192, 224, 256, 320, 384, 448,
                                           512, 576, 640, 0,   0,   0,   0,   0,
                                           0,   0,   0,   0,   0,   0,   0,   0};

// Hertz by fscod; 3 is reserved.
constexpr std::array<int, 4> kSampleRates = {48000, 44100, 32000, 0};

// Service by bsmod 0 to 6; bsmod 7 depends on acmod (ServiceText).
constexpr std::array<std::string_view, 7> kServices = {"CM", "ME", "VI", "HI", "D", "C", "E"};

struct ChannelLayout {
  std::string_view layout;
  std::string_view count;
};

// By acmod.
constexpr std::array<ChannelLayout, 8> kLayouts = {{
    {"ch(1+1) Ch1,Ch2", "2"},
    {"ch(1/0) C", "1"},
    {"ch(2/0) L,R", "2"},
    {"ch(3/0) L,C,R", "3"},
    {"ch(2/1) L,R,S", "3"},
    {"ch(3/1) L,C,R,S", "4"},
    {"ch(2/2) L,R,SL,SR", "4"},
    {"ch(3/2) L,C,R,SL,SR", "5"},
}};

constexpr int kLastKnownBsid = 8;
constexpr int kAlternateSyntaxBsid = 6;  // carries the two extra information blocks

// The optional fields after acmod, in stream order.
enum class Field {
  kCmixlev, kSurmixlev, kDsurmod, kLfeon, kDialnorm, kCompre, kCompr, kLangcode, kLangcod,
  kAudprodie, kMixlevel, kRoomtyp, kDialnorm2, kCompr2e, kCompr2, kLangcod2e, kLangcod2,
  kAudprodi2e, kMixlevel2, kRoomtyp2, kCopyrightb, kOrigbs, kXbsi1e, kDmixmod, kLtrtcmixlev,
  kLtrtsurmixlev, kLorocmixlev, kLorosurmixlev, kXbsi2e, kDsurexmod, kDheadphonmod,
  kAdconvtyp, kXbsi2,
  kCount
};
constexpr Field kUngated = Field::kCount;

// What of the fixed header a field depends on.
enum class When { kAlways, kCentreMix, kSurroundMix, kStereo, kDualMono, kAlternateSyntax };

struct Step {
  Field field;
  int width;            // 8 is read as two 4-bit takes, high first
  When when;
  Field gate;           // an earlier flag that must be 1, or kUngated
  std::string_view key; // empty: read but not described
};

constexpr std::array kSteps = {
    Step{Field::kCmixlev, 2, When::kCentreMix, kUngated, "cmixlev"},
    Step{Field::kSurmixlev, 2, When::kSurroundMix, kUngated, "surmixlev"},
    Step{Field::kDsurmod, 2, When::kStereo, kUngated, "dsurmod"},
    Step{Field::kLfeon, 1, When::kAlways, kUngated, "lfeon"},
    Step{Field::kDialnorm, 5, When::kAlways, kUngated, "dialnorm"},
    Step{Field::kCompre, 1, When::kAlways, kUngated, "compre"},
    Step{Field::kCompr, 8, When::kAlways, Field::kCompre, "compr"},
    Step{Field::kLangcode, 1, When::kAlways, kUngated, "langcode"},
    Step{Field::kLangcod, 8, When::kAlways, Field::kLangcode, "langcod"},
    Step{Field::kAudprodie, 1, When::kAlways, kUngated, "audprodle"},
    Step{Field::kMixlevel, 5, When::kAlways, Field::kAudprodie, "mixlevel"},
    Step{Field::kRoomtyp, 2, When::kAlways, Field::kAudprodie, "roomtyp"},
    Step{Field::kDialnorm2, 5, When::kDualMono, kUngated, "dialnorm2"},
    Step{Field::kCompr2e, 1, When::kDualMono, kUngated, "compr2e"},
    Step{Field::kCompr2, 8, When::kDualMono, Field::kCompr2e, "compr2"},
    Step{Field::kLangcod2e, 1, When::kDualMono, kUngated, "langcod2e"},
    Step{Field::kLangcod2, 8, When::kDualMono, Field::kLangcod2e, "langcod2"},
    Step{Field::kAudprodi2e, 1, When::kDualMono, kUngated, "audprodl2e"},
    Step{Field::kMixlevel2, 5, When::kDualMono, Field::kAudprodi2e, "mixlevel2"},
    Step{Field::kRoomtyp2, 2, When::kDualMono, Field::kAudprodi2e, "roomtyp2"},
    Step{Field::kCopyrightb, 1, When::kAlways, kUngated, "copyrightb"},
    Step{Field::kOrigbs, 1, When::kAlways, kUngated, "origbs"},
    Step{Field::kXbsi1e, 1, When::kAlternateSyntax, kUngated, "xbsi1e"},
    Step{Field::kDmixmod, 2, When::kAlternateSyntax, Field::kXbsi1e, "dmixmod"},
    Step{Field::kLtrtcmixlev, 3, When::kAlternateSyntax, Field::kXbsi1e, "ltrtcmixlev"},
    Step{Field::kLtrtsurmixlev, 3, When::kAlternateSyntax, Field::kXbsi1e, "ltrtsumixlev"},
    Step{Field::kLorocmixlev, 3, When::kAlternateSyntax, Field::kXbsi1e, "lorocmixlev"},
    Step{Field::kLorosurmixlev, 3, When::kAlternateSyntax, Field::kXbsi1e, "lorosurmixlev"},
    Step{Field::kXbsi2e, 1, When::kAlternateSyntax, kUngated, "xbsi2e"},
    Step{Field::kDsurexmod, 2, When::kAlternateSyntax, Field::kXbsi2e, "dsurexmod"},
    Step{Field::kDheadphonmod, 2, When::kAlternateSyntax, Field::kXbsi2e, "dheadphonmod"},
    Step{Field::kAdconvtyp, 1, When::kAlternateSyntax, Field::kXbsi2e, "adconvtyp"},
    Step{Field::kXbsi2, 8, When::kAlternateSyntax, Field::kXbsi2e, ""},
};

struct FixedHeader {
  int fscod;
  int frmsizecod;
  int bsid;
  int bsmod;
  int acmod;
};

// Values of the optional fields; a field that was not read counts as 0.
using FieldValues = std::array<std::uint8_t, static_cast<std::size_t>(Field::kCount)>;

std::uint8_t ValueOf(const FieldValues& values, Field field) {
  return values[static_cast<std::size_t>(field)];
}

std::uint8_t ReadField(std::uint8_t* buffer, std::size_t offset, int width) {
  if (width < 8) return TakeBits(buffer, offset, width);
  const auto high = TakeBits(buffer, offset, 4);
  const auto low = TakeBits(buffer, offset, 4);
  return static_cast<std::uint8_t>(high * 16 + low);
}

FixedHeader ReadFixedHeader(std::uint8_t* buffer, std::size_t offset) {
  FixedHeader head{};
  head.fscod = TakeBits(buffer, offset, 2);
  head.frmsizecod = TakeBits(buffer, offset, 6);
  head.bsid = TakeBits(buffer, offset, 5);
  head.bsmod = TakeBits(buffer, offset, 3);
  head.acmod = TakeBits(buffer, offset, 3);
  return head;
}

bool Holds(When when, const FixedHeader& head) {
  switch (when) {
    case When::kAlways:
      return true;
    case When::kCentreMix:  // three front channels: acmod 3, 5, 7
      return (head.acmod & 1) != 0 && head.acmod != 1;
    case When::kSurroundMix:  // any surround channel: acmod 4 to 7
      return (head.acmod & 4) != 0;
    case When::kStereo:
      return head.acmod == 2;
    case When::kDualMono:
      return head.acmod == 0;
    case When::kAlternateSyntax:
      return head.bsid == kAlternateSyntaxBsid;
  }
  return false;
}

bool IsRead(const Step& step, const FixedHeader& head, const FieldValues& values) {
  if (!Holds(step.when, head)) return false;
  return step.gate == kUngated || ValueOf(values, step.gate) == 1;
}

// Each line is appended before the next field is read.
FieldValues ReadOptionalFields(std::uint8_t* buffer, std::size_t offset, const FixedHeader& head,
                               int slot, TrackSlots& slots) {
  FieldValues values{};
  for (const auto& step : kSteps) {
    if (!IsRead(step, head, values)) continue;
    const auto value = ReadField(buffer, offset, step.width);
    values[static_cast<std::size_t>(step.field)] = value;
    if (!step.key.empty()) slots.AppendLine(slot, DescribeAc3Field(step.key, value));
  }
  return values;
}

std::string_view ServiceText(const FixedHeader& head) {
  if (head.bsmod < static_cast<int>(kServices.size())) return kServices[head.bsmod];
  if (head.acmod == 1) return "VO";
  if (head.acmod == 0) return {};
  return "karaoke";
}

std::string UpperHex(unsigned value) {
  char digits[8];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, 16);
  std::string text(digits, end);
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string BuildSummary(const FixedHeader& head, const FieldValues& values) {
  const auto& layout = kLayouts[head.acmod];
  std::string summary = std::to_string(kBitRates[head.frmsizecod >> 1]) + "kbps " +
                        std::to_string(kSampleRates[head.fscod]) + "Hz ";
  summary += layout.count;
  if (ValueOf(values, Field::kLfeon) == 1) summary += ".1";
  summary += layout.layout;
  summary += ' ';
  summary += ServiceText(head);
  if (ValueOf(values, Field::kDsurmod) == 2) summary += " Dolby Surround";
  if (head.bsid == kAlternateSyntaxBsid && ValueOf(values, Field::kDsurexmod) == 2) {
    summary += " Dolby Surround EX";
  }
  return summary;
}

}  // namespace

void AnalyseAc3Frame(std::uint8_t* buffer, std::size_t offset, std::uint8_t slot,
                     TrackSlots& slots, std::string& summary) {
  const FixedHeader head = ReadFixedHeader(buffer, offset);
  if (head.bsid > kLastKnownBsid) {  // a later, incompatible syntax: describe nothing
    slots.ClearPage(slot);
    summary.clear();
    return;
  }
  slots.AppendLine(slot, "bsid:" + UpperHex(static_cast<unsigned>(head.bsid)));
  const FieldValues values = ReadOptionalFields(buffer, offset, head, slot, slots);
  summary = BuildSummary(head, values);
}

}  // namespace tonvika
