#include "io/disc_source.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../support/scratch_dir.h"

namespace tonvika {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;

const std::string kFixtures = TONVIKA_FIXTURES;
const std::string kDisc = kFixtures + "/disc/three_title_sets";

// Three sectors (16 to 18) with the given identifiers at byte 1 of each.
std::vector<std::uint8_t> Sectors(const std::vector<std::string>& identifiers, std::size_t size = 3 * 2048) {
  std::vector<std::uint8_t> bytes(size, 0);
  for (std::size_t n = 0; n < identifiers.size(); ++n) {
    for (std::size_t i = 0; i < identifiers[n].size() && n * 2048 + 1 + i < size; ++i) {
      bytes[n * 2048 + 1 + i] = static_cast<std::uint8_t>(identifiers[n][i]);
    }
  }
  return bytes;
}

TEST(HoldsVolumeDescriptors, IsoAtSixteenOrUdfAtSixteenToEighteen) {
  const struct {
    std::vector<std::string> identifiers;
    std::size_t size;
    bool holds;
  } cases[] = {
      {{"CD001"}, 3 * 2048, true},
      {{"CD001"}, 6, true},                     // a file ending just after the identifier
      {{"CD001"}, 5, false},                    // ... or one byte short of it
      {{"BEA01"}, 3 * 2048, true},              // UDF only
      {{"", "NSR02"}, 3 * 2048, true},
      {{"", "", "NSR03"}, 3 * 2048, true},
      {{"", "CD001"}, 3 * 2048, false},         // ISO 9660 only counts at sector 16
      {{"", "", "TEA01"}, 3 * 2048, false},     // a terminator alone is no file system
      {{"cd001"}, 3 * 2048, false},
      {{"NSR04"}, 3 * 2048, false},
      {{}, 3 * 2048, false},
      {{}, 0, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HoldsVolumeDescriptors(Sectors(c.identifiers, c.size)), c.holds)
        << ::testing::PrintToString(c.identifiers) << " in " << c.size << " bytes";
  }
}

TEST(RecogniseSource, ByTypeAndContent) {
  ScratchDir dir;
  const std::string empty = dir.Write("empty.iso", std::string_view());
  // An image's content under a VOB's name is still taken as a VOB.
  fs::copy_file(kFixtures + "/disc/not_a_dvd.iso", dir.File("named.vob"));
  fs::copy_file(kFixtures + "/disc/not_a_dvd.iso", dir.File("no_extension"));
  fs::create_directory(dir.File("no_video_ts"));
  fs::copy(kDisc, dir.File("disc.vob"), fs::copy_options::recursive);  // a disc folder by a VOB's name
  const struct {
    std::string path;
    SourceKind kind;
  } cases[] = {
      {kFixtures + "/disc/three_title_sets.iso", SourceKind::Image},
      {kFixtures + "/disc/not_a_dvd.iso", SourceKind::Image},  // a file system; the disc run says it is no DVD
      {dir.File("no_extension"), SourceKind::Image},
      {dir.File("named.vob"), SourceKind::File},
      {kDisc + "/VIDEO_TS/VTS_01_1.VOB", SourceKind::File},
      {kFixtures + "/raw/ac3_junk100_5.1_448k.ac3", SourceKind::File},
      {kFixtures + "/late_ac3/packs.vob", SourceKind::File},
      {kDisc + "/VIDEO_TS/VTS_01_0.IFO", SourceKind::File},  // a regular file without a file system
      {empty, SourceKind::File},
      {dir.File("missing.iso"), SourceKind::File},             // the file run reports it
      {"/dev/null", SourceKind::File},                          // a character device
      {kDisc, SourceKind::Folder},
      {kDisc + "/VIDEO_TS", SourceKind::Folder},
      {dir.File("no_video_ts"), SourceKind::Folder},
      {dir.File("disc.vob"), SourceKind::File},
  };
  for (const auto& c : cases) EXPECT_EQ(RecogniseSource(c.path), c.kind) << c.path;
}

TEST(RecogniseSource, ABlockDeviceIsADrive) {
  std::string device;
  for (const char* candidate : {"/dev/loop0", "/dev/sr0", "/dev/vda", "/dev/sda"}) {
    std::error_code error;
    if (fs::is_block_file(candidate, error)) {
      device = candidate;
      break;
    }
  }
  if (device.empty()) GTEST_SKIP() << "no block device to look at";
  EXPECT_EQ(RecogniseSource(device), SourceKind::Drive) << device;
}

TEST(FindVideoTsFolder, AnyLetterCaseInsideOrItself) {
  ScratchDir dir;
  const struct {
    std::string make;   // a file to create (its folders come with it)
    std::string named;  // the folder named
    std::string found;  // the VIDEO_TS folder found, empty for none
  } cases[] = {
      {"upper/VIDEO_TS/VIDEO_TS.IFO", "upper", "upper/VIDEO_TS"},
      {"lower/video_ts/video_ts.ifo", "lower", "lower/video_ts"},
      {"mixed/Video_Ts/Video_TS.ifo", "mixed", "mixed/Video_Ts"},
      {"itself/VIDEO_TS/VIDEO_TS.IFO", "itself/VIDEO_TS", "itself/VIDEO_TS"},
      {"slash/VIDEO_TS/VIDEO_TS.IFO", "slash/", "slash/VIDEO_TS"},
      {"slash2/video_ts/x", "slash2/video_ts/", "slash2/video_ts/"},  // named VIDEO_TS, tables or not
      {"loose/VIDEO_TS.IFO", "loose", "loose"},                        // the files without their folder
      {"none/VTS_01_1.VOB", "none", ""},
      {"file/VIDEO_TS", "file", ""},                                   // a file named VIDEO_TS is no folder
  };
  for (const auto& c : cases) {
    dir.Write(c.make, std::string_view("x"));
    const auto found = FindVideoTsFolder(dir.File(c.named));
    if (c.found.empty()) {
      EXPECT_FALSE(found.has_value()) << c.named << " gave " << found.value_or("");
    } else {
      EXPECT_EQ(found, dir.File(c.found)) << c.named;
    }
  }
}

TEST(FindEntryIgnoringCase, FindsTheNameAsItIsOnDisk) {
  ScratchDir dir;
  dir.Write("VTS_01_1.vob", std::string_view("x"));
  dir.Write("vts_01_0.IFO", std::string_view("x"));
  EXPECT_EQ(FindEntryIgnoringCase(dir.Path().string(), "VTS_01_1.VOB"), dir.File("VTS_01_1.vob"));
  EXPECT_EQ(FindEntryIgnoringCase(dir.Path().string() + "/", "VTS_01_0.ifo"), dir.File("vts_01_0.IFO"));
  EXPECT_FALSE(FindEntryIgnoringCase(dir.Path().string(), "VTS_01_2.VOB").has_value());
  EXPECT_FALSE(FindEntryIgnoringCase(dir.File("missing"), "VTS_01_1.VOB").has_value());
}

}  // namespace
}  // namespace tonvika
