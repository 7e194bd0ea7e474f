// The code.csv that ships with the program.

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "lang/language_table.h"
#include "lang/text_encoding.h"

namespace tonvika {
namespace {

const std::string kPath = std::string(TONVIKA_SOURCE_DIR) + "/data/code.csv";

bool IsLowerAsciiLetter(char c) { return c >= 'a' && c <= 'z'; }

TEST(ShippedCodeCsv, IsUtf8WithoutByteOrderMark) {
  std::ifstream in(kPath, std::ios::binary);
  ASSERT_TRUE(in) << kPath;
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(IsValidUtf8(content));
  EXPECT_FALSE(content.starts_with("\xEF\xBB\xBF"));
}

TEST(ShippedCodeCsv, EveryLineIsCodeEnglishJapanese) {
  const LanguageTable table = LoadLanguageTable(kPath);
  EXPECT_GE(table.lines.size(), 183u);
  std::set<std::string> codes;
  for (const std::string& line : table.lines) {
    const std::vector<std::string> fields = SplitLanguageLine(line);
    ASSERT_EQ(fields.size(), 3u) << "line: " << line;
    const std::string& code = fields[0];
    EXPECT_TRUE(code.size() == 2 && IsLowerAsciiLetter(code[0]) && IsLowerAsciiLetter(code[1]))
        << "code: " << code;
    EXPECT_TRUE(codes.insert(code).second) << "duplicate code: " << code;
    EXPECT_FALSE(fields[1].empty()) << "line: " << line;
    EXPECT_FALSE(fields[2].empty()) << "line: " << line;
  }
}

struct NameCase {
  const char* code;
  const char* japanese;
  const char* english;
};

constexpr NameCase kNames[] = {
    {"ja", "日本語", "Japanese"},
    {"en", "英語", "English"},
    {"fr", "フランス語", "French"},
    {"de", "ドイツ語", "German"},
    {"es", "スペイン語", "Spanish"},
    {"it", "イタリア語", "Italian"},
    {"zh", "中国語", "Chinese"},
    {"ko", "韓国語", "Korean"},
    {"el", "ギリシャ語", "Greek, Modern"},
};

TEST(ShippedCodeCsv, CommonLanguagesInBothDisplayLanguages) {
  const LanguageTable table = LoadLanguageTable(kPath);
  for (const NameCase& c : kNames) {
    EXPECT_EQ(LookupLanguageName(table, c.code, DisplayLanguage::Japanese), c.japanese);
    EXPECT_EQ(LookupLanguageName(table, c.code, DisplayLanguage::English), c.english);
  }
}

}  // namespace
}  // namespace tonvika
