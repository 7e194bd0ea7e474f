#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace tonvika::cli {
namespace {

TEST(CliOptions, DefaultsAndEveryOption) {
  auto parsed = ParseOptions({"a.vob"});
  ASSERT_EQ(parsed.status, ParseStatus::Run);
  EXPECT_EQ(parsed.options.read_size_mb, 5);
  EXPECT_EQ(parsed.options.language, DisplayLanguage::Japanese);
  EXPECT_FALSE(parsed.options.details || parsed.options.sync_trace || parsed.options.crlf || parsed.options.json);
  EXPECT_FALSE(parsed.options.code_csv.has_value());

  parsed = ParseOptions({"--read-size", "20", "--lang=en", "--details", "--sync-trace", "--crlf", "--json",
                         "--code-csv", "t.csv", "a.vob", "--", "--b.vob"});
  ASSERT_EQ(parsed.status, ParseStatus::Run) << parsed.error;
  EXPECT_EQ(parsed.options.read_size_mb, 20);
  EXPECT_EQ(parsed.options.language, DisplayLanguage::English);
  EXPECT_TRUE(parsed.options.details && parsed.options.sync_trace && parsed.options.crlf && parsed.options.json);
  EXPECT_EQ(parsed.options.code_csv, "t.csv");
  EXPECT_EQ(parsed.options.files, (std::vector<std::string>{"a.vob", "--b.vob"}));
}

TEST(CliOptions, HelpAndVersion) {
  EXPECT_EQ(ParseOptions({"--help"}).status, ParseStatus::Help);
  EXPECT_EQ(ParseOptions({"a", "-h"}).status, ParseStatus::Help);
  EXPECT_EQ(ParseOptions({"--version"}).status, ParseStatus::Version);
}

TEST(CliOptions, BadUsageIsRefusedWithAMessage) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--read-size", "0", "a"},
      {"--read-size", "21", "a"},
      {"--read-size", "5x", "a"},
      {"--read-size", "", "a"},
      {"--read-size"},
      {"--lang", "fr", "a"},
      {"--bogus", "a"},
      {"--details=yes", "a"},
      {"--json"},
      {"--title-set", "0", "a"},
      {"--title-set", "100", "a"},
      {"--title-set", "two", "a"},
      {"--title-set"},
      {"--main=1", "a"},
      {"--main", "--title-set", "1", "a"},
      {"--title", "0", "a"},
      {"--title", "100", "a"},
      {"--title"},
      {"--all-titles=1", "a"},
      {"--title", "2", "--all-titles", "a"},
      {"--title", "2", "--main", "a"},
      {"--title-set", "1", "--title", "2", "a"},
  };
  for (const auto& args : cases) {
    const auto parsed = ParseOptions(args);
    EXPECT_EQ(parsed.status, ParseStatus::UsageError) << ::testing::PrintToString(args);
    EXPECT_FALSE(parsed.error.empty());
  }
}

TEST(CliOptions, TitleSetAndMain) {
  auto parsed = ParseOptions({"--title-set", "99", "disc.iso"});
  ASSERT_EQ(parsed.status, ParseStatus::Run) << parsed.error;
  EXPECT_EQ(parsed.options.title_set, 99);
  EXPECT_FALSE(parsed.options.main_feature);
  parsed = ParseOptions({"--main", "disc.iso"});
  ASSERT_EQ(parsed.status, ParseStatus::Run) << parsed.error;
  EXPECT_TRUE(parsed.options.main_feature);
  EXPECT_FALSE(parsed.options.title_set.has_value());
}

TEST(CliOptions, TitleAndAllTitles) {
  auto parsed = ParseOptions({"--title=99", "disc.iso"});
  ASSERT_EQ(parsed.status, ParseStatus::Run) << parsed.error;
  EXPECT_EQ(parsed.options.title, 99);
  EXPECT_FALSE(parsed.options.all_titles);
  parsed = ParseOptions({"--all-titles", "--title-set", "2", "disc.iso"});
  ASSERT_EQ(parsed.status, ParseStatus::Run) << parsed.error;
  EXPECT_TRUE(parsed.options.all_titles);
  EXPECT_EQ(parsed.options.title_set, 2);
  EXPECT_FALSE(parsed.options.title.has_value());
}

TEST(CliOptions, ReadSizeBounds) {
  for (const auto& [text, value] : {std::pair{"1", 1}, std::pair{"20", 20}}) {
    const auto parsed = ParseOptions({"--read-size", text, "f"});
    ASSERT_EQ(parsed.status, ParseStatus::Run);
    EXPECT_EQ(parsed.options.read_size_mb, value);
  }
}

}  // namespace
}  // namespace tonvika::cli
