// Information files written by a real DVD authoring tool (tests/fixtures).

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "../support/scratch_dir.h"
#include "dvd/ifo_audio.h"

namespace tonvika {
namespace {

const std::filesystem::path kFixtures = TONVIKA_FIXTURES;

struct TitleSetCase {
  const char* folder;  // holds VIDEO_TS/VTS_01_0.IFO and .BUP
  LanguageCodes codes;
};

// The languages the title sets were authored with; streams without a
// language and entries beyond the streams read "none".
const TitleSetCase kTitleSets[] = {
    {"eight_languages", {"en", "ja", "de", "fr", "es", "it", "zh", "ko"}},
    {"mixed_ac3_dts_lpcm", {"en", "ja", "de", "fr", "es", "it", "none", "none"}},
    {"no_language", {"none", "de", "none", "en", "none", "none", "none", "none"}},
    {"dts", {"en", "ja", "de", "fr", "es", "it", "none", "none"}},
    {"lpcm/16bit_48k", {"en", "fr", "de", "ja", "es", "it", "nl", "ko"}},
    {"ac3_bsid6", {"en", "ja", "de", "fr", "es", "it", "none", "none"}},
};

class TitleSetFixtures : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_directory(kFixtures / "eight_languages")) {
      GTEST_SKIP() << "no title set fixtures in " << kFixtures;
    }
  }
};

TEST_F(TitleSetFixtures, LanguagesFromTheUpperCaseInformationFile) {
  for (const TitleSetCase& c : kTitleSets) {
    const std::string vob = (kFixtures / c.folder / "VIDEO_TS" / "VTS_01_1.VOB").string();
    const std::optional<std::string> ifo = FindIfoFile(DeriveIfoPath(vob));
    ASSERT_TRUE(ifo.has_value()) << c.folder;
    EXPECT_EQ(std::filesystem::path(*ifo).filename(), "VTS_01_0.IFO") << c.folder;
    EXPECT_EQ(ReadAudioLanguageCodes(*ifo), c.codes) << c.folder;
  }
}

TEST_F(TitleSetFixtures, BackupCopyGivesTheSameLanguages) {
  for (const TitleSetCase& c : kTitleSets) {
    testing::ScratchDir dir;
    std::filesystem::copy_file(kFixtures / c.folder / "VIDEO_TS" / "VTS_01_0.BUP",
                               dir.Path() / "VTS_01_0.BUP");
    const std::optional<std::string> ifo = FindIfoFile(DeriveIfoPath(dir.File("VTS_01_3.VOB")));
    ASSERT_TRUE(ifo.has_value()) << c.folder;
    EXPECT_EQ(*ifo, dir.File("VTS_01_0.BUP"));
    EXPECT_EQ(ReadAudioLanguageCodes(*ifo), c.codes) << c.folder;
  }
}

}  // namespace
}  // namespace tonvika
