#include "dvd/ifo_audio.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "../support/scratch_dir.h"
#include "io/file_error.h"

namespace tonvika {
namespace {

using testing::ScratchDir;

// ---------------------------------------------------------------- paths

struct DeriveCase {
  const char* vob;
  const char* ifo;
};

constexpr DeriveCase kDeriveCases[] = {
    {"D:\\DVD\\VIDEO_TS\\VTS_01_1.VOB", "D:\\DVD\\VIDEO_TS\\VTS_01_0.ifo"},
    {"VTS_03_0.VOB", "VTS_03_0.ifo"},
    {"VIDEO_TS.VOB", "VIDEO_TS.ifo"},
    {"video_ts.vob", "video_t0.ifo"},  // lower-case s is not "S"
    {"movie.vob", "movi0.ifo"},
    {"VTS_01_2", "VTS_01_0.ifo"},  // no extension
    {"VTS_02_9.VOB", "VTS_02_0.ifo"},
    {"/media/dvd/VIDEO_TS/VTS_01_1.VOB", "/media/dvd/VIDEO_TS/VTS_01_0.ifo"},
    {"/media/dvd/VIDEO_TS/VIDEO_TS.VOB", "/media/dvd/VIDEO_TS/VIDEO_TS.ifo"},
    // A dot in a folder name is no extension.
    {"/media/my.dvd/VIDEO_TS/VTS_01_2", "/media/my.dvd/VIDEO_TS/VTS_01_0.ifo"},
    {"D:\\my.dvd\\VTS_01_2", "D:\\my.dvd\\VTS_01_0.ifo"},
    {"C:VTS_01_3", "C:VTS_01_0.ifo"},
    // Only the last dot starts the extension.
    {"/dvd/VTS_01_1.VOB.bak", "/dvd/VTS_01_1.VO0.ifo"},
    // A name ending in a Japanese character loses the whole character.
    {"/dvd/映画.vob", "/dvd/映0.ifo"},
    {"/dvd/映画", "/dvd/映0.ifo"},
    {"/dvd/音声S.vob", "/dvd/音声S.ifo"},
    // Nothing of the name is left: the folder is kept whole.
    {"/dvd/.vob", "/dvd/0.ifo"},
    {".vob", "0.ifo"},
    {"", "0.ifo"},
};

TEST(DeriveIfoPath, Examples) {
  for (const DeriveCase& c : kDeriveCases) {
    EXPECT_EQ(DeriveIfoPath(c.vob), c.ifo) << "for " << c.vob;
  }
}

TEST(DeriveIfoPath, ATruncatedCharacterCountsAsOneByte) {
  // "映" is E6 98 A0; its first two bytes alone are no whole character.
  EXPECT_EQ(DeriveIfoPath("/dvd/a\xE6\x98.vob"), "/dvd/a\xE6" "0.ifo");
}

// ---------------------------------------------------------------- files

std::vector<std::uint8_t> IfoWithEntries(
    const std::array<std::array<std::uint8_t, 4>, 8>& entries, std::size_t size = 2048) {
  std::vector<std::uint8_t> bytes(size, 0);
  for (std::size_t k = 0; k < entries.size(); ++k) {
    for (std::size_t i = 0; i < 4; ++i) {
      const std::size_t at = 516 + 8 * k + i;
      if (at < bytes.size()) bytes[at] = entries[k][i];
    }
  }
  return bytes;
}

TEST(ReadAudioLanguageCodes, ReadsTheEightEntries) {
  ScratchDir dir;
  const std::string path = dir.Write(
      "VTS_01_0.ifo", IfoWithEntries({{
                          {0x04, 0x00, 0x6A, 0x61},  // ja
                          {0x00, 0x00, 0x65, 0x6E},  // no language: "none" whatever follows
                          {0x08, 0x00, 0x65, 0x6E},  // upper language-type bit alone
                          {0x04, 0x00, 0x00, 0x00},  // 00 00: empty code
                          {0x04, 0x00, 0x65, 0x00},  // one character
                          {0x04, 0x00, 0x00, 0x6E},  // stops at the first zero
                          {0xFC, 0xFF, 0x64, 0x65},  // de; other bits do not matter
                          {0x04, 0x00, 0x4A, 0x41},  // JA: letter case kept
                      }}));
  const LanguageCodes expected = {"ja", "none", "none", "", "e", "", "de", "JA"};
  EXPECT_EQ(ReadAudioLanguageCodes(path), expected);
}

TEST(ReadAudioLanguageCodes, BytesPastTheEndReadAsZero) {
  ScratchDir dir;
  const std::array<std::array<std::uint8_t, 4>, 8> entries = {{
      {0x04, 0x00, 0x6A, 0x61},
      {0x04, 0x00, 0x65, 0x6E},
      {0x04, 0x00, 0x66, 0x72},
      {0x04, 0x00, 0x64, 0x65},
      {0x04, 0x00, 0x69, 0x74},
      {0x04, 0x00, 0x65, 0x73},
      {0x04, 0x00, 0x7A, 0x68},
      {0x04, 0x00, 0x6B, 0x6F},
  }};
  struct Case {
    std::size_t size;
    LanguageCodes codes;
  };
  const Case cases[] = {
      {576, {"ja", "en", "fr", "de", "it", "es", "zh", "ko"}},  // just long enough
      {575, {"ja", "en", "fr", "de", "it", "es", "zh", "k"}},
      {574, {"ja", "en", "fr", "de", "it", "es", "zh", ""}},
      {573, {"ja", "en", "fr", "de", "it", "es", "zh", ""}},
      {572, {"ja", "en", "fr", "de", "it", "es", "zh", "none"}},  // byte 0 of entry 7 is past the end
      {527, {"ja", "e", "none", "none", "none", "none", "none", "none"}},
      {516, {"none", "none", "none", "none", "none", "none", "none", "none"}},
      {100, {"none", "none", "none", "none", "none", "none", "none", "none"}},
      {0, {"none", "none", "none", "none", "none", "none", "none", "none"}},
  };
  for (const Case& c : cases) {
    const std::string path =
        dir.Write("short" + std::to_string(c.size) + ".ifo", IfoWithEntries(entries, c.size));
    EXPECT_EQ(ReadAudioLanguageCodes(path), c.codes) << "file of " << c.size << " bytes";
  }
}

TEST(ReadAudioLanguageCodes, CodeBytesOutsideAsciiAreCp932) {
  ScratchDir dir;
  const std::string path = dir.Write("VTS_01_0.ifo", IfoWithEntries({{
                                                         {0x04, 0x00, 0x82, 0xA0},  // あ
                                                         {0x04, 0x00, 0xB1, 0x00},  // half-width ｱ
                                                         {0x04, 0x00, 0xB1, 0xB2},  // ｱｲ
                                                         {0x04, 0x00, 0x82, 0x00},  // lead byte alone
                                                         {0x04, 0x00, 0x6A, 0x82},  // j + lead byte alone
                                                         {0x04, 0x00, 0xFF, 0xFF},  // not CP932
                                                         {0x04, 0x00, 0x87, 0x40},  // ① (CP932 extension)
                                                         {0x00, 0x00, 0x82, 0xA0},
                                                     }}));
  const LanguageCodes expected = {
      "あ", "ｱ", "ｱｲ", "\uFFFD", "j\uFFFD", "\uFFFD\uFFFD", "①", "none"};
  EXPECT_EQ(ReadAudioLanguageCodes(path), expected);
}

TEST(ReadAudioLanguageCodes, FileThatCannotBeOpenedThrows) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.File("VTS_01_0.ifo"));
  EXPECT_THROW(ReadAudioLanguageCodes(dir.File("VTS_01_0.ifo")), FileError);
  EXPECT_THROW(ReadAudioLanguageCodes(dir.File("VTS_02_0.ifo")), FileError);
  const std::string fifo = dir.File("VTS_03_0.ifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0) << std::strerror(errno);
  EXPECT_THROW(ReadAudioLanguageCodes(fifo), FileError);
}

// ---------------------------------------------------------------- lookup

TEST(FindIfoFile, TheDerivedPathItselfWhenItExists) {
  ScratchDir dir;
  const std::string path = dir.Write("VTS_01_0.ifo", std::string_view("x"));
  dir.Write("VTS_01_0.IFO", std::string_view("y"));  // a second spelling does not matter
  EXPECT_EQ(FindIfoFile(path), path);
}

TEST(FindIfoFile, IgnoresLetterCase) {
  ScratchDir dir;
  const std::string upper = dir.Write("VTS_01_0.IFO", std::string_view("x"));
  EXPECT_EQ(FindIfoFile(dir.File("VTS_01_0.ifo")), upper);
}

TEST(FindIfoFile, SeveralSpellingsGiveTheBytewiseFirst) {
  ScratchDir dir;
  dir.Write("vts_01_0.ifo", std::string_view("x"));
  dir.Write("VTS_01_0.Ifo", std::string_view("x"));
  dir.Write("VTS_01_0.IFO", std::string_view("x"));
  EXPECT_EQ(FindIfoFile(dir.File("Vts_01_0.ifo")), dir.File("VTS_01_0.IFO"));
}

TEST(FindIfoFile, FallsBackToTheBackupCopy) {
  ScratchDir dir;
  const std::string backup = dir.Write("VTS_01_0.BUP", std::string_view("x"));
  EXPECT_EQ(FindIfoFile(dir.File("VTS_01_0.ifo")), backup);

  ScratchDir lower;
  const std::string lower_backup = lower.Write("vts_01_0.bup", std::string_view("x"));
  EXPECT_EQ(FindIfoFile(lower.File("VTS_01_0.ifo")), lower_backup);
}

TEST(FindIfoFile, PrefersTheInformationFileToTheBackup) {
  ScratchDir dir;
  dir.Write("VTS_01_0.BUP", std::string_view("x"));
  const std::string ifo = dir.Write("vts_01_0.IFO", std::string_view("x"));
  EXPECT_EQ(FindIfoFile(dir.File("VTS_01_0.ifo")), ifo);
}

TEST(FindIfoFile, OnlyRegularFilesCount) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.File("VTS_01_0.ifo"));
  std::filesystem::create_directory(dir.File("VTS_01_0.IFO"));
  EXPECT_EQ(FindIfoFile(dir.File("VTS_01_0.ifo")), std::nullopt);
  const std::string backup = dir.Write("VTS_01_0.BUP", std::string_view("x"));
  EXPECT_EQ(FindIfoFile(dir.File("VTS_01_0.ifo")), backup);
}

TEST(FindIfoFile, NothingWhenThereIsNoFile) {
  ScratchDir dir;
  dir.Write("VTS_02_0.IFO", std::string_view("x"));  // another title set
  dir.Write("VTS_01_0.ifo.old", std::string_view("x"));
  EXPECT_EQ(FindIfoFile(dir.File("VTS_01_0.ifo")), std::nullopt);
  EXPECT_EQ(FindIfoFile(dir.File("no-such-folder/VTS_01_0.ifo")), std::nullopt);
}

TEST(FindIfoFile, FromAVideoObjectToItsLanguages) {
  ScratchDir dir;
  std::array<std::array<std::uint8_t, 4>, 8> entries{};
  entries[0] = {0x04, 0x00, 0x6A, 0x61};
  entries[1] = {0x04, 0x00, 0x65, 0x6E};
  dir.Write("VTS_01_0.IFO", IfoWithEntries(entries));
  const std::optional<std::string> ifo = FindIfoFile(DeriveIfoPath(dir.File("VTS_01_1.VOB")));
  ASSERT_TRUE(ifo.has_value());
  EXPECT_EQ(*ifo, dir.File("VTS_01_0.IFO"));
  const LanguageCodes codes = ReadAudioLanguageCodes(*ifo);
  EXPECT_EQ(codes[0], "ja");
  EXPECT_EQ(codes[1], "en");
  EXPECT_EQ(codes[2], "none");
}

}  // namespace
}  // namespace tonvika
