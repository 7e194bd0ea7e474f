#include "lang/language_table.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../support/scratch_dir.h"
#include "io/file_error.h"

namespace tonvika {
namespace {

using testing::ScratchDir;
using Fields = std::vector<std::string>;

// ---------------------------------------------------------------- fields

struct SplitCase {
  std::string line;
  Fields fields;
};

const SplitCase kSplitCases[] = {
    {"ja,Japanese,日本語", {"ja", "Japanese", "日本語"}},
    {"ja , Japanese , 日本語", {"ja", "Japanese", "日本語"}},
    {"  \tja,Japanese,日本語  ", {"ja", "Japanese", "日本語"}},
    {"xx,Name", {"xx", "Name"}},
    // A blank ends an unquoted field; quotes keep blanks and commas.
    {"en,Two Words,英語", {"en", "Two", "Words", "英語"}},
    {"en,\"Two Words\",英語", {"en", "Two Words", "英語"}},
    {"el,\"Greek, Modern\",ギリシャ語", {"el", "Greek, Modern", "ギリシャ語"}},
    {"a,\"say \"\"hi\"\"\",b", {"a", "say \"hi\"", "b"}},
    {"a,\"\",b", {"a", "", "b"}},
    {"\"\"", {""}},
    // Text right after a closing quote starts a further field.
    {"\"ab\"cd,ef", {"ab", "cd", "ef"}},
    {"a \"b c\"", {"a", "b c"}},
    // Empty fields between commas and at the edges.
    {"a,,b", {"a", "", "b"}},
    {",a", {"", "a"}},
    {",", {"", ""}},
    {"a,", {"a", ""}},
    {"a,b,", {"a", "b", ""}},
    {"a, ", {"a"}},  // the comma is not the last character
    // Every byte from 1 to 32 is a blank.
    {"a\tb", {"a", "b"}},
    {std::string("\x01" "a\x1F" "b\x20" "c"), {"a", "b", "c"}},
    {"", {}},
    {"   ", {}},
    {"\t\x01\x1F", {}},
    // An unclosed quote takes the rest of the line.
    {"a,\"unclosed, rest of line", {"a", "unclosed, rest of line"}},
    {"\"", {""}},
};

TEST(SplitLanguageLine, Examples) {
  for (const SplitCase& c : kSplitCases) {
    EXPECT_EQ(SplitLanguageLine(c.line), c.fields) << "line: " << c.line;
  }
}

TEST(SplitLanguageLine, ZeroBytesAreNoBlanks) {
  const std::string line("a\0b,c", 5);
  EXPECT_EQ(SplitLanguageLine(line), (Fields{std::string("a\0b", 3), "c"}));
}

// ---------------------------------------------------------------- lines

struct LinesCase {
  std::string content;
  std::vector<std::string> lines;
};

const LinesCase kLinesCases[] = {
    {"", {}},
    {"a", {"a"}},
    {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
    {"a\r\n", {"a"}},  // a final line break adds no line
    {"a\n", {"a"}},
    {"a\r", {"a"}},
    {"\r\n", {""}},
    {"a\n\nb", {"a", "", "b"}},
    {"a\r\n\r\n", {"a", ""}},
    {"a\n\rb", {"a", "", "b"}},  // LF then CR: two line breaks
    {"\xEF\xBB\xBFja,Japanese,日本語\r\n", {"ja,Japanese,日本語"}},
};

TEST(ParseLanguageTable, SplitsLines) {
  for (const LinesCase& c : kLinesCases) {
    EXPECT_EQ(ParseLanguageTable(c.content).lines, c.lines) << "content: " << c.content;
  }
}

TEST(ParseLanguageTable, ReadsCp932WhenTheTextIsNotUtf8) {
  // 日本語 and the half-width ｼﾞｬﾊﾟ in CP932.
  const LanguageTable table =
      ParseLanguageTable("ja,Japanese,\x93\xFA\x96\x7B\x8C\xEA\r\nxx,\xBC\xDE\xAC\xCA\xDF\r\n");
  EXPECT_EQ(table.lines, (std::vector<std::string>{"ja,Japanese,日本語", "xx,ｼﾞｬﾊﾟ"}));
  EXPECT_EQ(LookupLanguageName(table, "ja", DisplayLanguage::Japanese), "日本語");
}

TEST(ParseLanguageTable, InvalidBytesBecomeReplacementCharacters) {
  const LanguageTable table = ParseLanguageTable("ja,\xFF,\x80\r\n");
  EXPECT_EQ(table.lines, (std::vector<std::string>{"ja,\uFFFD,\uFFFD"}));
}

TEST(ParseLanguageTable, KeepsUtf8AsItIs) {
  // Valid UTF-8 whose bytes would also be valid CP932 is not converted.
  const std::string text = "fr,Français,フランス語";
  EXPECT_EQ(ParseLanguageTable(text).lines, (std::vector<std::string>{text}));
}

// ---------------------------------------------------------------- lookup

LanguageTable Table(std::vector<std::string> lines) { return LanguageTable{std::move(lines)}; }

struct LookupCase {
  const char* description;
  std::vector<std::string> lines;
  const char* code;
  const char* japanese;  // the name under "日本語"
  const char* english;   // the name under "英語"
};

const LookupCase kLookupCases[] = {
    {"three fields", {"ja,Japanese,日本語"}, "ja", "日本語", "Japanese"},
    {"two fields serve English only", {"xx,Name"}, "xx", "xx", "Name"},
    {"an unquoted two-word name gives four fields",
     {"en,Two Words,英語"}, "en", "en", "Two"},
    {"a quoted two-word name", {"en,\"Two Words\",英語"}, "en", "英語", "Two Words"},
    {"blanks around fields", {"ja , Japanese , 日本語"}, "ja", "日本語", "Japanese"},
    {"case-sensitive", {"ja,Japanese,日本語"}, "JA", "JA", "JA"},
    {"the first suitable line wins",
     {"xx,First", "xx,Second,二番目", "xx,Third,三番目"}, "xx", "二番目", "First"},
    {"blank lines are passed over", {"", "   ", "ja,Japanese,日本語"}, "ja", "日本語", "Japanese"},
    {"a code on no line", {"ja,Japanese,日本語", "en,English,英語"}, "fr", "fr", "fr"},
    {"the empty table", {}, "ja", "ja", "ja"},
    {"a code alone on its line", {"ja"}, "ja", "ja", "ja"},
    {"an empty Japanese name counts", {"xx,Name,"}, "xx", "", "Name"},
    {"only the first field is compared", {"en,ja,日本語"}, "ja", "ja", "ja"},
};

TEST(LookupLanguageName, Examples) {
  for (const LookupCase& c : kLookupCases) {
    const LanguageTable table = Table(c.lines);
    EXPECT_EQ(LookupLanguageName(table, c.code, DisplayLanguage::Japanese), c.japanese)
        << c.description;
    EXPECT_EQ(LookupLanguageName(table, c.code, DisplayLanguage::English), c.english)
        << c.description;
  }
}

TEST(LookupLanguageName, FinalLineBreakChangesNothing) {
  const std::string text = "ja,Japanese,日本語\r\nen,English,英語";
  const LanguageTable with = ParseLanguageTable(text + "\r\n");
  const LanguageTable without = ParseLanguageTable(text);
  EXPECT_EQ(with.lines, without.lines);
  EXPECT_EQ(LookupLanguageName(with, "en", DisplayLanguage::Japanese), "英語");
}

// ---------------------------------------------------------------- files

TEST(LoadLanguageTable, ReadsUtf8Cp932AndBom) {
  ScratchDir dir;
  struct Case {
    const char* name;
    std::string content;
  };
  const Case cases[] = {
      {"utf8.csv", "ja,Japanese,日本語\r\nen,English,英語\r\n"},
      {"bom.csv", "\xEF\xBB\xBFja,Japanese,日本語\nen,English,英語\n"},
      {"cp932.csv", "ja,Japanese,\x93\xFA\x96\x7B\x8C\xEA\ren,English,\x89\x70\x8C\xEA\r"},
  };
  for (const Case& c : cases) {
    const LanguageTable table = LoadLanguageTable(dir.Write(c.name, c.content));
    EXPECT_EQ(table.lines, (std::vector<std::string>{"ja,Japanese,日本語", "en,English,英語"}))
        << c.name;
    EXPECT_EQ(LookupLanguageName(table, "ja", DisplayLanguage::Japanese), "日本語") << c.name;
    EXPECT_EQ(LookupLanguageName(table, "en", DisplayLanguage::English), "English") << c.name;
  }
}

TEST(LoadLanguageTable, EmptyFileGivesEmptyTable) {
  ScratchDir dir;
  EXPECT_TRUE(LoadLanguageTable(dir.Write("code.csv", std::string_view())).empty());
}

TEST(LoadLanguageTable, ThrowsWhenItCannotRead) {
  ScratchDir dir;
  EXPECT_THROW(LoadLanguageTable(dir.File("code.csv")), FileError);
  std::filesystem::create_directory(dir.File("folder.csv"));
  EXPECT_THROW(LoadLanguageTable(dir.File("folder.csv")), FileError);
}

// Binary garbage up to the size limit loads, and lookups simply find nothing.
TEST(LoadLanguageTable, GarbageDoesNotMatch) {
  ScratchDir dir;
  std::string garbage(1u << 20, '\0');
  std::uint32_t state = 12345;
  for (char& c : garbage) {
    state = state * 1664525u + 1013904223u;
    c = static_cast<char>(state >> 24);
  }
  const LanguageTable table = LoadLanguageTable(dir.Write("code.csv", garbage));
  EXPECT_FALSE(table.empty());
  EXPECT_EQ(LookupLanguageName(table, "ja", DisplayLanguage::Japanese), "ja");
  EXPECT_EQ(LookupLanguageName(table, "en", DisplayLanguage::English), "en");
}

// No language table is larger than 1 MiB: a larger file (named by mistake)
// is refused rather than held in memory several times over.
TEST(LoadLanguageTable, LargerThanOneMebibyteIsRefused) {
  ScratchDir dir;
  std::string text(1u << 20, ' ');
  const std::string first_line = "ja,Japanese,JA\r\n";
  text.replace(0, first_line.size(), first_line);
  ASSERT_EQ(text.size(), 1u << 20);
  EXPECT_NO_THROW(LoadLanguageTable(dir.Write("limit.csv", text)));
  text += ' ';
  try {
    LoadLanguageTable(dir.Write("code.csv", text));
    ADD_FAILURE() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(error.path(), dir.File("code.csv"));
    EXPECT_EQ(error.reason(), "too large for a language table (more than 1048576 bytes)");
  }
  EXPECT_THROW(LoadLanguageTable(dir.Write("big.csv", std::string(50u << 20, 'x'))), FileError);
}

// One huge line: a lookup reads only the fields it needs.
TEST(LoadLanguageTable, HugeLineWithManyFields) {
  ScratchDir dir;
  std::string line = "ja,Japanese";
  while (line.size() + 2 <= (1u << 20)) line += " x";
  const LanguageTable table = LoadLanguageTable(dir.Write("code.csv", line));
  ASSERT_EQ(table.lines.size(), 1u);
  EXPECT_EQ(LookupLanguageName(table, "ja", DisplayLanguage::Japanese), "ja");
  EXPECT_EQ(LookupLanguageName(table, "ja", DisplayLanguage::English), "Japanese");
}

// A table that names no language is told apart from one that does: the
// front ends warn that every code will be shown as it is.
TEST(GivesLanguageNames, ALineOfACodeAndItsNames) {
  const struct {
    const char* content;
    bool names;
  } cases[] = {
      {"ja,Japanese,日本語\n", true},
      {"ja,Japanese\n", true},
      {"\xEF\xBB\xBF" "fr , French\r\n", true},
      {"\"so\",\"Somali\",\"ソマリ語\"\n", true},
      {"", false},
      {"\n\n", false},
      {"ja\n", false},
      {"ja,\n", false},                   // a code without a name
      {"JA,Japanese\n", false},           // codes are lower-case letters
      {"j1,Japanese\n", false},
      {"jpn2,Japanese\n", false},
      {"ja,Japanese,日本語,x\n", false},  // more than code and two names
      {"ja x y z\n", false},              // blanks part fields too
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GivesLanguageNames(ParseLanguageTable(c.content)), c.names) << c.content;
  }
}

TEST(GivesLanguageNames, TheShippedTableDoesAndAVideoObjectDoesNot) {
  const std::string source = TONVIKA_SOURCE_DIR;
  EXPECT_TRUE(GivesLanguageNames(LoadLanguageTable(source + "/data/code.csv")));
  for (const char* vob : {"/samples/VIDEO_TS/VTS_01_1.VOB", "/tests/fixtures/disc/three_title_sets/VIDEO_TS/VTS_01_1.VOB",
                          "/tests/fixtures/mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB"}) {
    EXPECT_FALSE(GivesLanguageNames(LoadLanguageTable(source + vob))) << vob;
  }
}

// ---------------------------------------------------------------- location

TEST(ProgramDirectory, HoldsTheRunningProgram) {
  const std::string directory = ProgramDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.front(), '/');
  EXPECT_EQ(directory.back(), '/');
  bool found = false;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    std::error_code error;
    if (std::filesystem::equivalent(entry.path(), "/proc/self/exe", error)) found = true;
  }
  EXPECT_TRUE(found) << directory << " does not hold the running program";
}

TEST(DefaultLanguageTablePath, IsCodeCsvBesideTheProgram) {
  EXPECT_EQ(DefaultLanguageTablePath(), ProgramDirectory() + "code.csv");
}

}  // namespace
}  // namespace tonvika
