// Which IFO entry a found track takes its language from.

#include "analysis/stream_mapping.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/ifo_builder.h"

namespace tonvika {
namespace {

using testing::IfoBuilder;

constexpr std::uint8_t kAc3 = kCodingAc3;
constexpr std::uint8_t kDts = kCodingDts;
constexpr std::uint8_t kLpcm = kCodingLpcm;
constexpr std::uint8_t kMpeg2 = kCodingMpeg2;
constexpr std::optional<int> kOff = std::nullopt;

struct MappingCase {
  const char* what;
  std::vector<std::uint8_t> codings;       // entry k's coding mode
  std::vector<std::optional<int>> chain;   // entry k plays this stream; empty: no chain at all
  TrackKind kind;
  int stream;
  std::optional<int> declared;             // DeclaredEntryFor
  int language_entry;                      // LanguageEntryFor
};

const MappingCase kCases[] = {
    {"identity", {kAc3, kAc3}, {0, 1}, TrackKind::Ac3, 1, 1, 1},
    {"swapped: stream 0 is entry 1", {kAc3, kAc3}, {1, 0}, TrackKind::Ac3, 0, 1, 1},
    {"swapped: stream 1 is entry 0", {kAc3, kAc3}, {1, 0}, TrackKind::Ac3, 1, 0, 0},
    {"no chain: the slot rule", {kAc3, kAc3}, {}, TrackKind::Ac3, 1, kOff, 1},
    {"unavailable entry: the slot rule", {kAc3, kAc3}, {0, kOff}, TrackKind::Ac3, 1, kOff, 1},
    {"the coding must match the kind", {kAc3, kDts}, {0, 0}, TrackKind::Dts, 0, 1, 1},
    {"no entry of that kind: the slot rule", {kAc3, kAc3}, {0, 1}, TrackKind::Dts, 0, kOff, 0},
    {"LPCM", {kAc3, kLpcm, kLpcm}, {0, 1, 0}, TrackKind::Lpcm, 0, 2, 2},
    {"MPEG audio is never a private stream 1 track", {kMpeg2}, {0}, TrackKind::Ac3, 0, kOff, 0},
    {"two entries for one stream: the first", {kDts, kDts, kDts}, {2, 0, 0}, TrackKind::Dts, 0, 1, 1},
    {"ffmpeg's numbering", {kAc3, kLpcm, kDts, kAc3, kLpcm, kDts, kAc3, kDts},
     {0, 0, 0, 1, 1, 1, 2, 2}, TrackKind::Dts, 2, 7, 7},
    {"a stream no entry plays, beyond the entries", {kAc3}, {0}, TrackKind::Ac3, 5, kOff, 5},
};

DeclaredAudio Declare(const MappingCase& c) {
  IfoBuilder ifo;
  for (const std::uint8_t coding : c.codings) ifo.Add({coding, "xx"});
  if (!c.chain.empty()) ifo.ChainPlaying(c.chain);
  return ReadDeclaredAudio(ifo.Build());
}

TEST(StreamMapping, EntryOfATrack) {
  for (const MappingCase& c : kCases) {
    const DeclaredAudio declared = Declare(c);
    EXPECT_EQ(DeclaredEntryFor(declared, c.kind, c.stream), c.declared) << c.what;
    EXPECT_EQ(LanguageEntryFor(declared, c.kind, c.stream), c.language_entry) << c.what;
  }
}

TEST(StreamMapping, CodesByKindFollowTheChainAndKeepTheSlotRuleElsewhere) {
  const LanguageCodes entry_codes{"en", "ja", "de", "none", "", "", "", ""};
  // Entry 0 (AC-3, en) plays stream 1, entry 1 (AC-3, ja) stream 0, entry 2
  // (DTS, de) stream 0.
  const DeclaredAudio declared = ReadDeclaredAudio(
      IfoBuilder().Add({kAc3, "en"}).Add({kAc3, "ja"}).Add({kDts, "de"}).ChainPlaying({1, 0, 0}).Build());
  const TrackLanguageCodes codes = LanguageCodesByKind(entry_codes, declared);
  const auto ac3 = codes[static_cast<int>(TrackKind::Ac3)];
  const auto dts = codes[static_cast<int>(TrackKind::Dts)];
  const auto lpcm = codes[static_cast<int>(TrackKind::Lpcm)];
  EXPECT_EQ(ac3, (LanguageCodes{"ja", "en", "de", "none", "", "", "", ""}));
  EXPECT_EQ(dts, (LanguageCodes{"de", "ja", "de", "none", "", "", "", ""}));
  EXPECT_EQ(lpcm, entry_codes);
}

TEST(StreamMapping, WithoutAnIfoEveryKindHasTheEntryCodes) {
  const LanguageCodes entry_codes{"en", "ja", "", "", "", "", "", "fr"};
  for (const LanguageCodes& codes : LanguageCodesByKind(entry_codes, DeclaredAudio{})) EXPECT_EQ(codes, entry_codes);
  for (const LanguageCodes& codes : SameCodesForEveryKind(entry_codes)) EXPECT_EQ(codes, entry_codes);
}

}  // namespace
}  // namespace tonvika
