#include "lang/text_encoding.h"

#include <string>

#include <gtest/gtest.h>

namespace tonvika {
namespace {

struct Utf8Case {
  std::string text;
  bool valid;
};

const Utf8Case kUtf8Cases[] = {
    {"", true},
    {"plain ASCII", true},
    {"日本語", true},
    {"\xF0\x9F\x98\x80", true},          // U+1F600
    {"\xF4\x8F\xBF\xBF", true},          // U+10FFFF
    {"\xEF\xBB\xBF", true},              // byte-order mark
    {"\x80", false},                     // continuation byte alone
    {"\xC0\x80", false},                 // overlong
    {"\xC1\xBF", false},                 // overlong
    {"\xE0\x9F\xBF", false},             // overlong
    {"\xF0\x8F\xBF\xBF", false},         // overlong
    {"\xED\xA0\x80", false},             // surrogate
    {"\xF4\x90\x80\x80", false},         // above U+10FFFF
    {"\xF5\x80\x80\x80", false},
    {"\xE6\x97", false},                 // cut short
    {"a\xE6\x97\xA5z\xFF", false},
    {"\x93\xFA\x96\x7B\x8C\xEA", false}, // 日本語 in CP932
};

TEST(IsValidUtf8, Examples) {
  for (const Utf8Case& c : kUtf8Cases) {
    EXPECT_EQ(IsValidUtf8(c.text), c.valid) << "text: " << c.text;
  }
}

struct Cp932Case {
  std::string cp932;
  std::string utf8;
};

const Cp932Case kCp932Cases[] = {
    {"", ""},
    {"ja", "ja"},
    {"\x93\xFA\x96\x7B\x8C\xEA", "日本語"},
    {"\x82\xA0", "あ"},
    {"\xB1\xB2", "ｱｲ"},                   // half-width katakana
    {"\x87\x40", "①"},                    // NEC special character
    {"\x81\x60", "～"},                   // CP932 maps this to U+FF5E
    {"\x82", "\uFFFD"},                   // lead byte at the end
    {"\xFF", "\uFFFD"},
    {"a\xFF" "b", "a\uFFFD" "b"},
    {"\x82\x20x", "\uFFFD x"},             // a bad second byte is read again
    {"\xFF\xFF\x82\xA0", "\uFFFD\uFFFDあ"},
};

TEST(Cp932ToUtf8, Examples) {
  for (const Cp932Case& c : kCp932Cases) {
    EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8) << "bytes: " << c.cp932;
  }
}

TEST(Cp932ToUtf8, LongTextCrossesTheOutputChunks) {
  std::string cp932;
  std::string utf8;
  for (int i = 0; i < 10000; ++i) {
    cp932 += "\x82\xA0\xFF";
    utf8 += "あ\uFFFD";
  }
  EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
}

// A two-byte character is read whole wherever the text is cut internally.
TEST(Cp932ToUtf8, CharacterAtEveryPlaceAroundFourKilobytes) {
  for (std::size_t prefix = 4090; prefix <= 4100; ++prefix) {
    const std::string cp932 = std::string(prefix, 'a') + "\x82\xA0\x82";
    EXPECT_EQ(Cp932ToUtf8(cp932), std::string(prefix, 'a') + "あ\uFFFD") << prefix;
  }
}

struct LastCharCase {
  std::string text;
  std::size_t length;
};

const LastCharCase kLastCharCases[] = {
    {"", 0},
    {"a", 1},
    {"abc", 1},
    {"aé", 2},
    {"a日", 3},
    {"日本", 3},
    {"a\xF0\x9F\x98\x80", 4},
    {"a\xE6\x97", 1},         // a character cut short: one byte
    {"\x80\x80\x80\x80", 1},  // continuation bytes only
    {"a\xA5", 1},
    {"\xE6\x97\xA5\xA5", 1},  // one continuation byte too many
};

TEST(LastUtf8CharLength, Examples) {
  for (const LastCharCase& c : kLastCharCases) {
    EXPECT_EQ(LastUtf8CharLength(c.text), c.length) << "text: " << c.text;
  }
}

}  // namespace
}  // namespace tonvika
