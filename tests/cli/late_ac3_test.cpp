// An AC-3 track that starts beyond 16 MiB: the committed packs of
// tests/fixtures/late_ac3 are put behind 17 MiB of zero bytes at run time.
// Its sync trace offsets then need seven hexadecimal digits (18-character
// entries), and the track must still be confirmed when the read window
// reaches it.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run_program.h"
#include "support/scratch_dir.h"

namespace tonvika::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::size_t kLeadingZeros = 17 * kMiB;
constexpr const char* kPacks = "late_ac3/packs.vob";

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string CodeCsv() { return (fs::path(TONVIKA_SOURCE_DIR) / "data" / "code.csv").string(); }

// Replaces every whole line `from` of `text` by `to`.
std::string ReplaceLines(const std::string& text, const std::string& from, const std::string& to) {
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::size_t stop = end == std::string::npos ? text.size() : end;
    const std::string line = text.substr(start, stop - start);
    out += line == from ? to : line;
    if (end != std::string::npos) out += '\n';
    start = stop + 1;
  }
  return out;
}

struct TraceEntry {
  std::string text;
  std::uint64_t offset;
  std::string bytes;  // " 1E 40 EB"
};

// The sync trace entries of the first line of `text` that has any.
std::vector<TraceEntry> TraceEntries(const std::string& text) {
  static const std::regex kEntry(R"(\[([0-9A-F]+)((?: [0-9A-F]{2}){3})\])");
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::vector<TraceEntry> entries;
    for (std::sregex_iterator it(line.begin(), line.end(), kEntry), end; it != end; ++it) {
      entries.push_back({it->str(), std::stoull((*it)[1].str(), nullptr, 16), (*it)[2].str()});
    }
    if (!entries.empty()) return entries;
  }
  return {};
}

class LateAc3 : public ::testing::Test {
 protected:
  void SetUp() override {
    packs_ = ReadWhole(fs::path(TONVIKA_FIXTURES) / kPacks);
    ASSERT_GT(packs_.size(), 0u);
    std::ofstream out(dir_.File("late.vob"), std::ios::binary);
    const std::vector<char> zeros(kMiB, 0);
    for (std::size_t written = 0; written < kLeadingZeros; written += zeros.size()) {
      out.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
    }
    out.write(packs_.data(), static_cast<std::streamsize>(packs_.size()));
    ASSERT_TRUE(out.good());
  }

  ProgramResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--code-csv", CodeCsv()});
    args.push_back("late.vob");
    return RunProgram(TONVIKA_CLI, args, dir_.Path().string());
  }

  // The reviewed output for the packs alone, with the path lines renamed.
  static std::string Expected(const std::string& expected_file) {
    return ReplaceLines(ReadWhole(fs::path(TONVIKA_FIXTURES) / expected_file), kPacks, "late.vob");
  }

  ScratchDir dir_;
  std::string packs_;
};

TEST_F(LateAc3, FoundWithAWindowOf20MiB) {
  const ProgramResult result = Run({"--read-size", "20", "--details"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, Expected("late_ac3/packs.vob.expected"));
}

// A window of 17 MiB holds the zero bytes alone: all eight slots stay free.
TEST_F(LateAc3, NotFoundWhenTheWindowEndsBeforeIt) {
  const ProgramResult result = Run({"--read-size", "17", "--details"});
  ASSERT_EQ(result.status, 0) << result.err;
  std::string empty_list = "late.vob\n----------\nList\nTr\n";
  for (int number = 1; number <= 8; ++number) empty_list += std::to_string(number) + " \n";
  EXPECT_EQ(result.out, empty_list);
}

TEST_F(LateAc3, SyncTraceEntriesHaveSevenDigitOffsets) {
  const ProgramResult result = Run({"--read-size", "20", "--sync-trace"});
  ASSERT_EQ(result.status, 0) << result.err;
  const auto late = TraceEntries(result.out);
  const auto early = TraceEntries(ReadWhole(fs::path(TONVIKA_FIXTURES) / "late_ac3/packs.vob.sync.expected"));
  ASSERT_GE(late.size(), 3u) << result.out;
  ASSERT_EQ(late.size(), early.size()) << result.out;
  for (std::size_t i = 0; i < late.size(); ++i) {
    EXPECT_EQ(late[i].text.size(), 18u) << late[i].text;
    EXPECT_EQ(early[i].text.size(), 17u) << early[i].text;
    EXPECT_GE(late[i].offset, 16 * kMiB);
    // The same candidates as in the packs alone, 17 MiB further on.
    EXPECT_EQ(late[i].offset, early[i].offset + kLeadingZeros);
    EXPECT_EQ(late[i].bytes, early[i].bytes);
  }
}

}  // namespace
}  // namespace tonvika::testing
