#include "mpeg/sync_trace.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

namespace tonvika {
namespace {

struct EntryCase {
  std::size_t offset;
  std::array<std::uint8_t, 3> bytes;
  const char* text;
};
constexpr std::array<EntryCase, 6> kEntryCases{{
    {0x12AB, {0x1C, 0x38, 0xE1}, "[0012AB 1C 38 E1]"},
    {0, {0x00, 0x00, 0x00}, "[000000 00 00 00]"},
    {0xABCDEF, {0x0A, 0xFF, 0x07}, "[ABCDEF 0A FF 07]"},
    {0xFFFFFF, {0x1C, 0x38, 0xE1}, "[FFFFFF 1C 38 E1]"},
    {0x1000000, {0x1C, 0x38, 0xE1}, "[1000000 1C 38 E1]"},
    {0x13FFFEB, {0x5E, 0x40, 0x4F}, "[13FFFEB 5E 40 4F]"},
}};

TEST(SyncTrace, EntryText) {
  for (const EntryCase& c : kEntryCases) {
    SyncTrace trace;
    AppendSyncCandidate(trace, c.offset, c.bytes[0], c.bytes[1], c.bytes[2]);
    EXPECT_EQ(trace.text, c.text);
    EXPECT_EQ(trace.count, 1u);
    EXPECT_EQ(trace.last, c.bytes);
  }
}

TEST(SyncTrace, EntriesFrom16MiBHaveEighteenCharacters) {
  SyncTrace trace;
  AppendSyncCandidate(trace, 0xFFFFFF, 1, 2, 3);
  EXPECT_EQ(trace.text.size(), 17u);
  AppendSyncCandidate(trace, 0x1000000, 1, 2, 3);
  EXPECT_EQ(trace.text.size(), 17u + 18u);
}

TEST(SyncTrace, EntriesAreAppendedWithoutSeparatorAndCandidatesShift) {
  SyncTrace trace;
  AppendSyncCandidate(trace, 0x10, 0x1C, 0x38, 0xE1);
  AppendSyncCandidate(trace, 0x20, 0x1E, 0x40, 0x41);
  EXPECT_EQ(trace.text, "[000010 1C 38 E1][000020 1E 40 41]");
  EXPECT_EQ(trace.count, 2u);
  EXPECT_EQ(trace.previous, (std::array<std::uint8_t, 3>{0x1C, 0x38, 0xE1}));
  EXPECT_EQ(trace.last, (std::array<std::uint8_t, 3>{0x1E, 0x40, 0x41}));
}

struct AgreeCase {
  const char* name;
  std::vector<std::array<std::uint8_t, 3>> candidates;
  bool agree;
};

TEST(SyncTrace, LastTwoSyncsAgree) {
  const std::vector<AgreeCase> cases{
      {"empty", {}, false},
      {"one", {{0x1C, 0x38, 0xE1}}, false},
      {"two identical", {{0x1C, 0x38, 0xE1}, {0x1C, 0x38, 0xE1}}, false},
      {"three identical", {{0x1C, 0x38, 0xE1}, {0x1C, 0x38, 0xE1}, {0x1C, 0x38, 0xE1}}, true},
      {"first differs", {{0x00, 0x00, 0x00}, {0x1C, 0x38, 0xE1}, {0x1C, 0x38, 0xE1}}, true},
      {"low digit of byte 6", {{0x00, 0x00, 0x00}, {0x1C, 0x38, 0xE1}, {0x1C, 0x38, 0xEF}}, true},
      {"top digit of byte 6", {{0x00, 0x00, 0x00}, {0x1C, 0x38, 0xE1}, {0x1C, 0x38, 0xD1}}, false},
      {"byte 5", {{0x00, 0x00, 0x00}, {0x1C, 0x38, 0xE1}, {0x1C, 0x30, 0xE1}}, false},
      {"byte 4", {{0x00, 0x00, 0x00}, {0x1C, 0x38, 0xE1}, {0x0C, 0x38, 0xE1}}, false},
      {"agreeing pair then a different one", {{0x1C, 0x38, 0xE1}, {0x1C, 0x38, 0xE1}, {0x1C, 0x38, 0xE1}, {0x1E, 0x38, 0xE1}}, false},
  };
  for (const AgreeCase& c : cases) {
    SCOPED_TRACE(c.name);
    SyncTrace trace;
    std::size_t offset = 0x800;
    for (const auto& b : c.candidates) AppendSyncCandidate(trace, offset += 0x600, b[0], b[1], b[2]);
    EXPECT_EQ(LastTwoSyncsAgree(trace), c.agree);
    EXPECT_EQ(LastTwoSyncsAgree(std::string_view(trace.text)), c.agree);
  }
}

TEST(SyncTrace, TextTestComparesCharactersEightToFifteenOfTheLastTwoEntries) {
  // In a text of m characters the pieces start at m - 27 and m - 10 (from 0).
  std::string text(50, '.');
  text.replace(23, 8, "1C 38 E1");
  text.replace(40, 8, "1C 38 E1");
  EXPECT_TRUE(LastTwoSyncsAgree(std::string_view(text)));
  // The same pieces in 49 characters are too few.
  EXPECT_FALSE(LastTwoSyncsAgree(std::string_view(text).substr(1)));

  std::string changed = text;
  changed[47] = '7';  // last character of the later piece
  EXPECT_FALSE(LastTwoSyncsAgree(std::string_view(changed)));
  changed = text;
  changed[23] = '0';  // first character of the earlier piece
  EXPECT_FALSE(LastTwoSyncsAgree(std::string_view(changed)));
  changed = text;
  changed[48] = '7';  // just after the later piece
  changed[39] = '7';  // just before it
  EXPECT_TRUE(LastTwoSyncsAgree(std::string_view(changed)));
}

// Below 16 MiB the text test and the test on the candidates are the same.
TEST(SyncTrace, TextAndCandidateTestsAgreeBelowSixteenMebibytes) {
  constexpr std::array<std::uint8_t, 3> kByte4{0x1C, 0x1D, 0x5C};
  constexpr std::array<std::uint8_t, 2> kByte5{0x38, 0x40};
  constexpr std::array<std::uint8_t, 4> kByte6{0xE1, 0xE7, 0xF1, 0x01};
  int agreements = 0;
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::mt19937 rng(seed);
    auto pick = [&rng](const auto& table) { return table[rng() % table.size()]; };
    SyncTrace trace;
    for (int k = 0; k < 20; ++k) {
      const std::size_t offset = rng() % 0x1000000;
      AppendSyncCandidate(trace, offset, pick(kByte4), pick(kByte5), pick(kByte6));
      const bool by_candidates = LastTwoSyncsAgree(trace);
      EXPECT_EQ(LastTwoSyncsAgree(std::string_view(trace.text)), by_candidates) << trace.text;
      agreements += by_candidates;
    }
  }
  EXPECT_GT(agreements, 100);
}

// From 16 MiB on the entries are one character longer and the text test no
// longer lines up; the candidates still decide.
TEST(SyncTrace, CandidatesStillAgreeBeyondSixteenMebibytes) {
  SyncTrace trace;
  for (std::size_t offset : {0x1000000u, 0x1000800u, 0x1001000u}) AppendSyncCandidate(trace, offset, 0x1C, 0x38, 0xE1);
  EXPECT_TRUE(LastTwoSyncsAgree(trace));
  EXPECT_FALSE(LastTwoSyncsAgree(std::string_view(trace.text)));
}

}  // namespace
}  // namespace tonvika
