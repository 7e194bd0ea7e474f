#include "codecs/dts_frame.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "analysis/track_slots.h"
#include "codecs/dts_fields.h"

namespace tonvika {

namespace {

// Where a field lies: its first bit counted from bit 7 of frame byte 4
// (array index 0), and its width. Fields are plain big-endian bit strings.
struct BitField {
  int offset;
  int width;
};

// The fixed part of the core header, frame bytes 4 to 10.
constexpr BitField kFtype{0, 1};
constexpr BitField kShort{1, 5};
constexpr BitField kCpf{6, 1};
constexpr BitField kNblks{7, 7};
constexpr BitField kFsize{14, 14};
constexpr BitField kAmode{28, 6};
constexpr BitField kSfreq{34, 4};
constexpr BitField kRate{38, 5};
constexpr BitField kMix{43, 1};
constexpr BitField kDynf{44, 1};
constexpr BitField kTimef{45, 1};
constexpr BitField kAuxf{46, 1};
constexpr BitField kHdcd{47, 1};
constexpr BitField kExtAudioId{48, 3};
constexpr BitField kExtAudio{51, 1};
constexpr BitField kAspf{52, 1};
constexpr BitField kLff{53, 2};
constexpr BitField kHflag{55, 1};

// The header CRC, frame bytes 11 and 12, present only when CPF is 1.
constexpr int kCrcIndex = 7;

// The tail, counted from the start of frame byte T: 11, or 13 after a CRC.
constexpr int kTailIndexWithoutCrc = 7;
constexpr int kTailIndexWithCrc = 9;
constexpr BitField kFilts{0, 1};
constexpr BitField kVernum{1, 4};
constexpr BitField kChist{5, 2};
constexpr BitField kPcmr{7, 3};
constexpr BitField kSumf{10, 1};
constexpr BitField kSums{11, 1};
constexpr BitField kDialnorm{12, 4};

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

unsigned ReadBits(const DtsHeaderBytes& header, int byte_index, BitField field) {
  unsigned value = 0;
  for (int i = 0; i < field.width; ++i) {
    const int bit = byte_index * 8 + field.offset + i;
    value = (value << 1) | ((header[bit / 8] >> (7 - bit % 8)) & 1u);
  }
  return value;
}

struct DtsCoreHeader {
  unsigned ftype, short_count, cpf, nblks, fsize, amode, sfreq, rate;
  unsigned mix, dynf, timef, auxf, hdcd, ext_audio_id, ext_audio, aspf, lff, hflag;
  unsigned crc_high, crc_low;
  unsigned filts, vernum, chist, pcmr, sumf, sums, dialnorm;
};

DtsCoreHeader DecodeHeader(const DtsHeaderBytes& header) {
  auto fixed = [&](BitField field) { return ReadBits(header, 0, field); };
  DtsCoreHeader h{};
  h.ftype = fixed(kFtype);
  h.short_count = fixed(kShort);
  h.cpf = fixed(kCpf);
  h.nblks = fixed(kNblks);
  h.fsize = fixed(kFsize);
  h.amode = fixed(kAmode);
  h.sfreq = fixed(kSfreq);
  h.rate = fixed(kRate);
  h.mix = fixed(kMix);
  h.dynf = fixed(kDynf);
  h.timef = fixed(kTimef);
  h.auxf = fixed(kAuxf);
  h.hdcd = fixed(kHdcd);
  h.ext_audio_id = fixed(kExtAudioId);
  h.ext_audio = fixed(kExtAudio);
  h.aspf = fixed(kAspf);
  h.lff = fixed(kLff);
  h.hflag = fixed(kHflag);
  h.crc_high = header[kCrcIndex];
  h.crc_low = header[kCrcIndex + 1];

  const int tail_index = h.cpf == 1 ? kTailIndexWithCrc : kTailIndexWithoutCrc;
  auto tail = [&](BitField field) { return ReadBits(header, tail_index, field); };
  h.filts = tail(kFilts);
  h.vernum = tail(kVernum);
  h.chist = tail(kChist);
  h.pcmr = tail(kPcmr);
  h.sumf = tail(kSumf);
  h.sums = tail(kSums);
  h.dialnorm = tail(kDialnorm);
  return h;
}

std::string Hex(unsigned value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%X", value);
  return digits;
}

std::string Described(std::string_view label, std::string_view key, unsigned value) {
  return std::string(label) + DescribeDtsField(key, static_cast<std::uint8_t>(value));
}

std::string CrcLine(const DtsCoreHeader& h) {
  char line[48];
  std::snprintf(line, sizeof line, "Header CRC Check Bytes: %.2X %.2X", h.crc_high, h.crc_low);
  return line;
}

void AppendDetailLines(const DtsCoreHeader& h, int slot, TrackSlots& slots) {
  auto append = [&](std::string line) { slots.AppendLine(slot, std::move(line)); };
  append(Described("Frame Type: ", "FTYPE", h.ftype));
  append(Described("Deficit Sample Count: ", "SHORT", h.short_count));
  append(Described("CRC Present Flag: ", "CPF", h.cpf));
  append(Described("Number of PCM Sample Blocks: ", "NBLKS", h.nblks));
  append("Primary Frame Byte Size: " + std::to_string(h.fsize + 1));
  append(Described("Embedded Down Mix Enabled: ", "MIX", h.mix));
  append(Described("Embedded Dynamic Range: ", "DYNF", h.dynf));
  append(Described("Embedded Time Stamp: ", "TIMEF", h.timef));
  append(Described("Auxiliary Data: ", "AUXF", h.auxf));
  append(Described("", "HDCD", h.hdcd));
  append(Described("Extended Coding Flag: ", "EXT_AUDIO", h.ext_audio));
  if (h.ext_audio == 1) {
    append(Described("Extension Audio Descriptor Flag: ", "EXT_AUDIO_ID", h.ext_audio_id));
  }
  append(Described("Audio Sync Word Insertion Flag: ", "ASPF", h.aspf));
  if (!kLfeTexts[h.lff].line.empty()) append(std::string(kLfeTexts[h.lff].line));
  append(Described("Predictor History Flag Switch: ", "HFLAG", h.hflag));
  if (h.cpf == 1) append(CrcLine(h));
  append(Described("Multirate Interpolator Switch: ", "FILTS", h.filts));
  append("Encoder Software Rev.: " + Hex(h.vernum));
  append("Copy History: " + Hex(h.chist));
  append("source material are mastered in DTS ES format: " +
         std::string(kPcmrTexts[h.pcmr].es));
  append(Described("Front Sum/Difference Flag: ", "SUMF", h.sumf));
  append(Described("Surrounds Sum/Difference Flag: ", "SUMS", h.sums));
  append("Dialog Normalisation Parameter: " + Hex(h.dialnorm));
}

std::string_view SummaryTag(const DtsCoreHeader& h) {
  if (h.ext_audio == 1) return kExtensionTags[h.ext_audio_id];
  return kPcmrTexts[h.pcmr].es == kEsMastered ? kEsTag : std::string_view{};
}

std::string BuildSummary(const DtsCoreHeader& h) {
  std::string summary(SummaryTag(h));
  summary += ' ';
  summary += kRates[h.rate];
  summary += ' ';
  summary += kSampleRates[h.sfreq];
  summary += ' ';
  summary += h.amode < kLayouts.size() ? kLayouts[h.amode] : kUserDefinedLayout;
  summary += kLfeTexts[h.lff].suffix;
  summary += ' ';
  summary += kPcmrTexts[h.pcmr].bit_depth;
  return summary;
}

}  // namespace

void AnalyseDtsFrame(const DtsHeaderBytes& header, std::uint8_t slot, TrackSlots& slots,
                     std::string& summary) {
  slots.ClearPage(slot);
  const DtsCoreHeader h = DecodeHeader(header);
  AppendDetailLines(h, slot, slots);
  summary = BuildSummary(h);
}

}  // namespace tonvika
