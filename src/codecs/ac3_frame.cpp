#include "codecs/ac3_frame.h"

#include <array>
#include <string>
#include <string_view>

#include "codecs/ac3_fields.h"

namespace tonvika {

namespace {

using F = Ac3Field;

// Service by bsmod 0 to 6; bsmod 7 depends on acmod (ServiceText).
constexpr std::array<std::string_view, 7> kServices = {"CM", "ME", "VI", "HI", "D", "C", "E"};

// Layout text by acmod; the channel count before it comes from the header.
constexpr std::array<std::string_view, 8> kLayouts = {
    "ch(1+1) Ch1,Ch2", "ch(1/0) C",         "ch(2/0) L,R",       "ch(3/0) L,C,R",
    "ch(2/1) L,R,S",   "ch(3/1) L,C,R,S",   "ch(2/2) L,R,SL,SR", "ch(3/2) L,C,R,SL,SR",
};

// The key each described field is passed to DescribeAc3Field under; empty
// for the fields without a line. "audprodle", "audprodl2e" and
// "ltrtsumixlev" are spelt as the field texts have always been looked up.
constexpr std::array<std::string_view, kAc3FieldCount> kKeys = {
    "",            "",              "",            "",              "",
    "cmixlev",     "surmixlev",     "dsurmod",     "lfeon",         "dialnorm",
    "compre",      "compr",         "langcode",    "langcod",       "audprodle",
    "mixlevel",    "roomtyp",       "dialnorm2",   "compr2e",       "compr2",
    "langcod2e",   "langcod2",      "audprodl2e",  "mixlevel2",     "roomtyp2",
    "copyrightb",  "origbs",        "xbsi1e",      "dmixmod",       "ltrtcmixlev",
    "ltrtsumixlev", "lorocmixlev",  "lorosurmixlev", "xbsi2e",      "dsurexmod",
    "dheadphonmod", "adconvtyp",    "",
};

std::string_view ServiceText(const Ac3Header& h) {
  const int bsmod = h.Get(F::kBsmod);
  const int acmod = h.Get(F::kAcmod);
  if (bsmod < static_cast<int>(kServices.size())) return kServices[bsmod];
  if (acmod == 1) return "VO";
  if (acmod == 0) return {};
  return "karaoke";
}

// "bsid:%X": a single digit for the accepted bsids 0 to 8.
std::string BsidLine(const Ac3Header& h) { return "bsid:" + std::to_string(h.Get(F::kBsid)); }

std::string BuildSummary(const Ac3Header& h) {
  const int acmod = h.Get(F::kAcmod);
  std::string summary = std::to_string(Ac3BitRateKbps(h.Get(F::kFrmsizecod)).value_or(0)) + "kbps " +
                        std::to_string(Ac3SampleRateHz(h.Get(F::kFscod)).value_or(0)) + "Hz ";
  summary += std::to_string(Ac3FullBandwidthChannels(acmod));
  if (h.Get(F::kLfeon) == 1) summary += ".1";
  summary += kLayouts[static_cast<std::size_t>(acmod)];
  summary += ' ';
  summary += ServiceText(h);
  if (h.Get(F::kDsurmod) == 2) summary += " Dolby Surround";
  if (h.Get(F::kBsid) == kAc3AlternateSyntaxBsid && h.Get(F::kDsurexmod) == 2) {
    summary += " Dolby Surround EX";
  }
  return summary;
}

}  // namespace

FrameDescription DescribeAc3Header(const Ac3Header& header) {
  FrameDescription description;
  if (!header.Decoded()) return description;  // a later syntax: describe nothing
  description.lines.push_back(BsidLine(header));
  for (std::size_t i = 0; i < kAc3FieldCount; ++i) {
    const auto field = static_cast<Ac3Field>(i);
    if (!header.Has(field) || kKeys[i].empty()) continue;
    description.lines.push_back(DescribeAc3Field(kKeys[i], header.Get(field)));
  }
  description.summary = BuildSummary(header);
  return description;
}

Ac3Analysis AnalyseAc3Frame(std::uint8_t* buffer, std::size_t offset) {
  Ac3Analysis analysis{DecodeAc3Header(buffer, offset), {}};
  analysis.description = DescribeAc3Header(analysis.header);
  return analysis;
}

}  // namespace tonvika
