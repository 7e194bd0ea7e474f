#include "io/dvd_reader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "io/file_error.h"

namespace tonvika {
namespace {

const std::string kFixtures = TONVIKA_FIXTURES;
const std::string kVideoTs = kFixtures + "/disc/three_title_sets/VIDEO_TS";
const std::string kImage = kFixtures + "/disc/three_title_sets.iso";

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DvdReader, KeepsTheLibrarysMessagesOffStandardError) {
  ::testing::internal::CaptureStderr();
  {
    const DvdReader disc(kFixtures + "/disc/not_a_dvd.iso");
    EXPECT_FALSE(disc.OpenIfo(0));  // no VIDEO_TS in it
    EXPECT_NE(disc.LastMessage(), "");
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(DvdReader, APathThatCannotBeOpenedGivesTheSystemsReason) {
  ::testing::internal::CaptureStderr();
  try {
    DvdReader disc(kFixtures + "/disc/missing.iso");
    ADD_FAILURE() << "opened a missing image";
  } catch (const FileError& e) {
    EXPECT_EQ(e.reason(), "No such file or directory");
  }
  EXPECT_THROW(DvdReader("/dev/null"), FileError);  // neither folder, image nor drive
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// Title set 2's VOB is two files; the title VOBs read on from the first.
TEST(DvdReader, TitleVobsOfAFolderReadAsOneStream) {
  std::vector<std::uint8_t> expected = FileBytes(kVideoTs + "/VTS_02_1.VOB");
  const std::vector<std::uint8_t> second = FileBytes(kVideoTs + "/VTS_02_2.VOB");
  expected.insert(expected.end(), second.begin(), second.end());

  const DvdReader disc(kVideoTs);
  const DvdFile vobs = disc.OpenFile(2, DVD_READ_TITLE_VOBS);
  ASSERT_TRUE(vobs);
  ASSERT_EQ(DvdFileBytes(*vobs), expected.size());
  std::vector<std::uint8_t> read(expected.size() + 3 * kDvdBlockSize, 0xEE);
  EXPECT_EQ(ReadDvdBlocks(*vobs, 0, read), expected.size());  // the end of the title VOBs
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), read.begin()));
}

TEST(DvdReader, ReadsWholeBlocksOnlyAndFromAnyBlock) {
  const DvdReader disc(kImage);
  const DvdFile vobs = disc.OpenFile(1, DVD_READ_TITLE_VOBS);
  ASSERT_TRUE(vobs);
  const std::vector<std::uint8_t> vob = FileBytes(kVideoTs + "/VTS_01_1.VOB");  // the folder's cut of it
  std::vector<std::uint8_t> read(2 * kDvdBlockSize + 100, 0xEE);
  EXPECT_EQ(ReadDvdBlocks(*vobs, 3, read), 2 * kDvdBlockSize);
  EXPECT_TRUE(std::equal(read.begin(), read.begin() + 2 * kDvdBlockSize, vob.begin() + 3 * kDvdBlockSize));
  EXPECT_TRUE(std::all_of(read.end() - 100, read.end(), [](std::uint8_t b) { return b == 0xEE; }));
}

TEST(DvdReader, InformationFilesOfAnImage) {
  const DvdReader disc(kImage);
  for (const auto& [domain, name] : {std::pair{DVD_READ_INFO_FILE, "VTS_03_0.IFO"},
                                     std::pair{DVD_READ_INFO_BACKUP_FILE, "VTS_03_0.BUP"}}) {
    const DvdFile file = disc.OpenFile(3, domain);
    ASSERT_TRUE(file) << name;
    EXPECT_EQ(ReadDvdFileBytes(*file, 1 << 20), FileBytes(kVideoTs + "/" + name)) << name;
    const auto start = ReadDvdFileBytes(*file, 600);  // capped, and read again from the start
    ASSERT_TRUE(start.has_value());
    EXPECT_EQ(start->size(), 600u);
  }
  EXPECT_FALSE(disc.OpenFile(4, DVD_READ_INFO_FILE));
  EXPECT_TRUE(disc.OpenIfo(3));
}

}  // namespace
}  // namespace tonvika
