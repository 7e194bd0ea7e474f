#include "app/file_names.h"

#include <gtest/gtest.h>

#include <QFile>
#include <filesystem>

#include "support/scratch_dir.h"

namespace tonvika {
namespace {

struct Shown {
  const char* bytes;
  const char* shown;
};

TEST(DisplayNameTest, ShowsUtf8AsItIsAndOtherPartsAsCp932) {
  const Shown cases[] = {
      {"/tmp/VIDEO_TS/VTS_01_1.VOB", "/tmp/VIDEO_TS/VTS_01_1.VOB"},
      {"/ディスク/テスト.VOB", "/ディスク/テスト.VOB"},
      {"/\x83\x65\x83\x58\x83\x67/VTS_01_1.VOB", "/テスト/VTS_01_1.VOB"},
      // Each part by itself: a UTF-8 folder above a Shift-JIS name.
      {"/ディスク/\x89\xb9\x90\xba_1.VOB", "/ディスク/音声_1.VOB"},
      // A byte that is neither: U+FFFD, and the rest is still read.
      {"/a\x80z/b", "/a\xEF\xBF\xBDz/b"},
      {"", ""},
      // Line by line in a text holding paths.
      {"\x89\xb9\x90\xba_1.VOB\r\n1 AC-3 5.1ch(3/2)\r\n", "音声_1.VOB\r\n1 AC-3 5.1ch(3/2)\r\n"},
  };
  for (const Shown& c : cases) EXPECT_EQ(DisplayName(c.bytes).toStdString(), c.shown) << c.shown;
}

struct UriCase {
  const char* list;
  std::optional<std::string> path;
};

TEST(FirstLocalFileOfUriListTest, TakesTheFirstLocalFileAsBytes) {
  const UriCase cases[] = {
      {"file:///tmp/a%20b.vob\r\n", "/tmp/a b.vob"},
      {"file:///%83e%83X%83g.VOB", "/\x83\x65\x83\x58\x83\x67.VOB"},
      {"file://localhost/x.vob", "/x.vob"},
      {"FILE:/y.vob", "/y.vob"},
      {"# a comment\r\nhttps://example.org/x.vob\r\nfile:///z.vob\r\nfile:///second.vob\r\n", "/z.vob"},
      {"file://otherhost/share/x.vob\nfile:///mine.vob\n", "/mine.vob"},
      {"file:///a%00b.vob", std::nullopt},
      {"file:relative.vob", std::nullopt},
      {"", std::nullopt},
  };
  for (const UriCase& c : cases) EXPECT_EQ(FirstLocalFileOfUriList(c.list), c.path) << c.list;
}

TEST(FileNameBytesTest, FindsTheBytesBehindWhatQtShows) {
  testing::ScratchDir dir;
  const std::string sjis = dir.Write("\x83\x65\x83\x58/\x89\xb9\x90\xba_1.VOB", std::string("x"));
  const std::string utf8 = dir.Write("ディスク/a.vob", std::string("x"));
  const auto as_qt_shows = [](const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); };
  EXPECT_EQ(FileNameBytes(as_qt_shows(sjis)), sjis);
  EXPECT_EQ(FileNameBytes(as_qt_shows(utf8)), utf8);
  // A name typed in the dialog that does not exist is taken as written.
  EXPECT_EQ(FileNameBytes(QString::fromStdString(dir.File("new.vob"))), dir.File("new.vob"));
  // Two names that Qt shows alike cannot be told apart: neither is guessed.
  dir.Write("\x83\x65\x83\x58/\x89\xb9\x90\xbb_1.VOB", std::string("y"));
  EXPECT_FALSE(std::filesystem::exists(FileNameBytes(as_qt_shows(sjis))));
}

TEST(AbsolutePathTest, KeepsTheBytes) {
  const std::string relative = "x/../\x83\x65.VOB";
  EXPECT_EQ(AbsolutePath(relative), std::filesystem::current_path().string() + "/\x83\x65.VOB");
  EXPECT_EQ(AbsolutePath("/a/./b.vob"), "/a/b.vob");
}

}  // namespace
}  // namespace tonvika
