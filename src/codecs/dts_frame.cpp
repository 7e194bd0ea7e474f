#include "codecs/dts_frame.h"

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "codecs/dts_fields.h"

namespace tonvika {

namespace {

using F = DtsField;

constexpr std::array<std::string_view, 16> kLayouts{{
    "A",
    "dual mono",
    "stereo",
    "(L+R),(L-R)",
    "LT,RT",
    "L,C,R",
    "L,R,S",
    "L,C,R,S",
    "L,R,SL,SR",
    "L,C,R,SL,SR",
    "CL,CR,L,R,SL,SR",
    "C,L,R,LR,RR,OV",
    "CF,CR,LF,RF,LR,RR",
    "CL,C,CR,L,R,SL,SR",
    "CL,CR,L,R,SL1,SL2,SR1,SR2",
    "CL,C,CR,L,R,SL,S,SR",
}};
constexpr std::string_view kUserDefinedLayout = "User Defined";

constexpr std::array<std::string_view, 16> kSampleRates{{
    "Invalid", "8000Hz",  "16000Hz", "32000Hz", "Invalid", "Invalid", "11025Hz", "22050Hz",
    "44100Hz", "Invalid", "Invalid", "12000Hz", "24000Hz", "48000Hz", "Invalid", "Invalid",
}};

constexpr std::array<std::string_view, 32> kRates{{
    "32kbps",   "56kbps",   "64kbps",     "96kbps",   "112kbps",  "128kbps",  "192kbps",
    "224kbps",  "256kbps",  "320kbps",    "384kbps",  "448kbps",  "512kbps",  "576kbps",
    "640kbps",  "768kbps",  "960kbps",    "1024kbps", "1152kbps", "1280kbps", "1344kbps",
    "1408kbps", "1411.2kbps", "1472kbps", "1536kbps", "1920kbps", "2048kbps", "3072kbps",
    "3840kbps", "open",     "Variable",   "Loss-less",
}};

// Source PCM resolution. The two invalid spellings differ on purpose: the
// summary and the detail line have always read this way.
struct PcmrText {
  std::string_view bit_depth;
  std::string_view es;
};
constexpr std::array<PcmrText, 8> kPcmrTexts{{
    {"16bit", "No"},  {"16bit", "Yes"},          {"20bit", "No"},  {"20bit", "Yes"},
    {"Invaild bit", "Invalid bit"}, {"24bit", "Yes"}, {"24bit", "No"},
    {"Invaild bit", "Invalid bit"},
}};
constexpr std::string_view kEsMastered = "Yes";

// LFE line (empty: none) and summary suffix by LFF.
struct LfeText {
  std::string_view line;
  std::string_view suffix;
};
constexpr std::array<LfeText, 4> kLfeTexts{{
    {"", ""},
    {"Low Frequency Effects - Interpolation Factor=128", ",LFE"},
    {"Low Frequency Effects - Interpolation Factor=64", ",LFE"},
    {"", ""},
}};

// Summary tag by EXT_AUDIO_ID when EXT_AUDIO is set.
constexpr std::array<std::string_view, 8> kExtensionTags{{
    "-ES(Ext Ch) ", "", "-96/24(Ext Freq) ", "-ES&96/24(Ext Ch&Freq) ", "", "", "", "",
}};
constexpr std::string_view kEsTag = "-ES ";

std::string Hex(unsigned value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%X", value);
  return digits;
}

std::string Described(std::string_view label, std::string_view key, unsigned value) {
  return std::string(label) + DescribeDtsField(key, static_cast<std::uint8_t>(value));
}

std::string CrcLine(const DtsHeader& h) {
  const unsigned crc = h.Get(F::kHcrc);
  char line[48];
  std::snprintf(line, sizeof line, "Header CRC Check Bytes: %.2X %.2X", crc >> 8, crc & 0xFFu);
  return line;
}

// The field's text, under its own key.
std::string Described(std::string_view label, const DtsHeader& h, DtsField field) {
  return Described(label, DtsFieldName(field), h.Get(field));
}

std::vector<std::string> DetailLines(const DtsHeader& h) {
  std::vector<std::string> lines;
  auto append = [&](std::string line) { lines.push_back(std::move(line)); };
  const unsigned lff = h.Get(F::kLff);
  const unsigned pcmr = h.Get(F::kPcmr);
  append(Described("Frame Type: ", h, F::kFtype));
  append(Described("Deficit Sample Count: ", h, F::kShort));
  append(Described("CRC Present Flag: ", h, F::kCpf));
  append(Described("Number of PCM Sample Blocks: ", h, F::kNblks));
  append("Primary Frame Byte Size: " + std::to_string(h.Get(F::kFsize) + 1));
  append(Described("Embedded Down Mix Enabled: ", h, F::kMix));
  append(Described("Embedded Dynamic Range: ", h, F::kDynf));
  append(Described("Embedded Time Stamp: ", h, F::kTimef));
  append(Described("Auxiliary Data: ", h, F::kAuxf));
  append(Described("", h, F::kHdcd));
  append(Described("Extended Coding Flag: ", h, F::kExtAudio));
  if (h.Get(F::kExtAudio) == 1) append(Described("Extension Audio Descriptor Flag: ", h, F::kExtAudioId));
  append(Described("Audio Sync Word Insertion Flag: ", h, F::kAspf));
  if (!kLfeTexts[lff].line.empty()) append(std::string(kLfeTexts[lff].line));
  append(Described("Predictor History Flag Switch: ", h, F::kHflag));
  if (h.Has(F::kHcrc)) append(CrcLine(h));
  append(Described("Multirate Interpolator Switch: ", h, F::kFilts));
  append("Encoder Software Rev.: " + Hex(h.Get(F::kVernum)));
  append("Copy History: " + Hex(h.Get(F::kChist)));
  append("source material are mastered in DTS ES format: " + std::string(kPcmrTexts[pcmr].es));
  append(Described("Front Sum/Difference Flag: ", h, F::kSumf));
  append(Described("Surrounds Sum/Difference Flag: ", h, F::kSums));
  append("Dialog Normalisation Parameter: " + Hex(h.Get(F::kDialnorm)));
  return lines;
}

std::string_view SummaryTag(const DtsHeader& h) {
  if (h.Get(F::kExtAudio) == 1) return kExtensionTags[h.Get(F::kExtAudioId)];
  return kPcmrTexts[h.Get(F::kPcmr)].es == kEsMastered ? kEsTag : std::string_view{};
}

std::string BuildSummary(const DtsHeader& h) {
  std::string summary(SummaryTag(h));
  summary += ' ';
  summary += kRates[h.Get(F::kRate)];
  summary += ' ';
  summary += kSampleRates[h.Get(F::kSfreq)];
  summary += ' ';
  summary += DtsLayoutText(h.Get(F::kAmode));
  summary += kLfeTexts[h.Get(F::kLff)].suffix;
  summary += ' ';
  summary += kPcmrTexts[h.Get(F::kPcmr)].bit_depth;
  return summary;
}

}  // namespace

std::string_view DtsLayoutText(unsigned amode) {
  return amode < kLayouts.size() ? kLayouts[amode] : kUserDefinedLayout;
}

FrameDescription DescribeDtsHeader(const DtsHeader& header) {
  return {DetailLines(header), BuildSummary(header)};
}

DtsAnalysis AnalyseDtsFrame(const DtsHeaderBytes& bytes) {
  DtsAnalysis analysis{DecodeDtsHeader(bytes), {}};
  analysis.description = DescribeDtsHeader(analysis.header);
  return analysis;
}

}  // namespace tonvika
