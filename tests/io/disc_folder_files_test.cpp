// The files libdvdread opens by itself in a DVD folder are looked at first:
// nothing that is not a regular file may block a run or pass for an empty file.
#include "io/disc_folder_files.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "io/dvd_reader.h"
#include "io/file_error.h"
#include "support/scratch_dir.h"

namespace tonvika {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;

const std::string kVideoTs = std::string(TONVIKA_FIXTURES) + "/disc/three_title_sets/VIDEO_TS";

std::string CopyVideoTs(const ScratchDir& dir) {
  fs::create_directory(dir.File("disc"));
  fs::copy(kVideoTs, dir.File("disc/VIDEO_TS"), fs::copy_options::recursive);
  return dir.File("disc/VIDEO_TS");
}

void MakeFifo(const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); }

void MakeSocket(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, path.c_str());
  EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
}

void MakeFolder(const std::string& path) { fs::create_directory(path); }

void MakeLinkToFifo(const std::string& path) {
  MakeFifo(path + ".fifo");
  fs::create_symlink(path + ".fifo", path);
}

struct OddEntry {
  const char* what;
  std::function<void(const std::string&)> make;
};

const OddEntry kOddEntries[] = {
    {"FIFO", MakeFifo}, {"socket", MakeSocket}, {"folder", MakeFolder}, {"link to a FIFO", MakeLinkToFifo}};

// Every file libdvdread would open for the call, put in place of each in turn.
TEST(DiscFolderFiles, AnEntryThatIsNotARegularFileIsRefusedBeforeLibdvdreadOpensIt) {
  const struct {
    const char* name;
    std::function<void(const DvdReader&)> open;
  } calls[] = {
      {"VTS_02_0.IFO", [](const DvdReader& disc) { disc.OpenIfo(2); }},
      {"VTS_02_0.BUP", [](const DvdReader& disc) { disc.OpenIfo(2); }},
      {"VIDEO_TS.IFO", [](const DvdReader& disc) { disc.OpenIfo(0); }},
      {"VTS_02_1.VOB", [](const DvdReader& disc) { disc.OpenFile(2, DVD_READ_TITLE_VOBS); }},
      {"VTS_02_2.VOB", [](const DvdReader& disc) { disc.OpenFile(2, DVD_READ_TITLE_VOBS); }},
      {"VTS_02_0.IFO", [](const DvdReader& disc) { disc.OpenFile(2, DVD_READ_INFO_FILE); }},
  };
  for (const OddEntry& odd : kOddEntries) {
    for (const auto& call : calls) {
      ScratchDir dir;
      const std::string folder = CopyVideoTs(dir);
      const std::string entry = folder + "/" + call.name;
      fs::remove(entry);
      odd.make(entry);
      const DvdReader disc(folder);
      const auto start = std::chrono::steady_clock::now();
      try {
        call.open(disc);
        ADD_FAILURE() << odd.what << " as " << call.name << " passed";
      } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir.File("disc/VIDEO_TS/") + call.name) << odd.what;
        EXPECT_EQ(e.reason(), "not a regular file") << odd.what << " as " << call.name;
      }
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    }
  }
}

// libdvdread stops at the first missing part: what lies beyond is never opened.
TEST(DiscFolderFiles, PartsAfterAMissingOneAreNotLookedAt) {
  ScratchDir dir;
  const std::string folder = CopyVideoTs(dir);
  MakeFifo(folder + "/VTS_01_3.VOB");  // no VTS_01_2.VOB
  MakeFifo(folder + "/vts_03_0.vob");  // the menu VOB is never read
  const DvdReader disc(folder);
  EXPECT_TRUE(disc.OpenFile(1, DVD_READ_TITLE_VOBS));
  EXPECT_TRUE(disc.OpenFile(3, DVD_READ_TITLE_VOBS));
  EXPECT_TRUE(disc.OpenIfo(3));
}

// Any spelling may be the one libdvdread takes; a name none has passes, and
// the folder is found as libdvdread finds it from the disc's own folder.
TEST(DiscFolderFiles, EveryEntryOfTheNameInAnyCaseCounts) {
  ScratchDir dir;
  const std::string folder = CopyVideoTs(dir);
  MakeFolder(folder + "/vts_01_1.vob");
  for (const std::string& named : {folder, dir.File("disc"), folder + "/"}) {
    const DiscFolderFiles files(named);
    EXPECT_THROW(files.Check("VTS_01_1.VOB"), FileError) << named;
    EXPECT_TRUE(files.Check("VTS_02_1.VOB")) << named;
    EXPECT_FALSE(files.Check("VTS_04_1.VOB")) << named;
  }
}

TEST(DiscFolderFiles, AFileThatCannotBeOpenedGivesTheSystemsReason) {
  ScratchDir dir;
  const std::string folder = CopyVideoTs(dir);
  fs::create_symlink(folder + "/missing", folder + "/VTS_03_1.VOB.link");
  fs::remove(folder + "/VTS_03_1.VOB");
  fs::rename(folder + "/VTS_03_1.VOB.link", folder + "/VTS_03_1.VOB");
  try {
    DiscFolderFiles(folder).Check("VTS_03_1.VOB");
    ADD_FAILURE() << "a dangling link passed";
  } catch (const FileError& e) {
    EXPECT_EQ(e.reason(), "No such file or directory");
  }
}

}  // namespace
}  // namespace tonvika
