#include "app/window_arguments.h"

#include <gtest/gtest.h>

#include "app/ui_language.h"

namespace tonvika {
namespace {

struct ArgumentsCase {
  std::vector<std::string> args;
  WindowAction action;
  std::optional<std::string> file;
};

TEST(ParseWindowArgumentsTest, HelpVersionAndOneFile) {
  const ArgumentsCase cases[] = {
      {{}, WindowAction::Run, std::nullopt},
      {{"a.vob"}, WindowAction::Run, "a.vob"},
      {{"\x83\x65.VOB"}, WindowAction::Run, "\x83\x65.VOB"},
      {{"--help"}, WindowAction::Help, std::nullopt},
      {{"a.vob", "-h"}, WindowAction::Help, std::nullopt},
      {{"--bogus", "--version"}, WindowAction::Version, std::nullopt},
      {{"--", "--help"}, WindowAction::Run, "--help"},
      {{"--", "-"}, WindowAction::Run, "-"},
      {{"-"}, WindowAction::Run, "-"},
      {{"--bogus"}, WindowAction::UsageError, std::nullopt},
      {{"a.vob", "b.vob"}, WindowAction::UsageError, std::nullopt},
  };
  for (const ArgumentsCase& c : cases) {
    const WindowArguments parsed = ParseWindowArguments(c.args);
    EXPECT_EQ(parsed.action, c.action) << ::testing::PrintToString(c.args);
    EXPECT_EQ(parsed.file, c.file) << ::testing::PrintToString(c.args);
    EXPECT_EQ(parsed.error.empty(), c.action != WindowAction::UsageError);
  }
}

struct LanguageCase {
  QStringList ui_languages;
  bool english;
};

TEST(PrefersEnglishTest, AnyFirstLanguageButJapaneseAndTheCLocale) {
  const LanguageCase cases[] = {
      {{"en-US", "en-Latn-US", "en"}, true},
      {{"fr", "fr-Latn-FR"}, true},
      {{"de-DE", "ja-JP"}, true},
      {{"ja-JP", "ja-Jpan-JP", "ja"}, false},
      {{"ja", "en"}, false},
      {{"C"}, false},
      {{"POSIX"}, false},
      {{}, false},
  };
  for (const LanguageCase& c : cases) EXPECT_EQ(PrefersEnglish(c.ui_languages), c.english) << c.ui_languages.join(u',').toStdString();
}

}  // namespace
}  // namespace tonvika
