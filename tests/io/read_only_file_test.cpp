#include "io/read_only_file.h"

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

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

std::size_t OpenDescriptorCount() {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    ++count;
  }
  return count;
}

TEST(ReadOnlyFile, ReadsAtOffsetsAndStopsAtTheEnd) {
  ScratchDir dir;
  const std::string path = dir.Write("data.bin", std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7});
  const ReadOnlyFile file(path);
  EXPECT_EQ(file.Size(), 7u);
  EXPECT_EQ(file.Path(), path);

  std::array<std::uint8_t, 4> out{};
  EXPECT_EQ(file.ReadAt(2, out), 4u);
  EXPECT_EQ(out, (std::array<std::uint8_t, 4>{3, 4, 5, 6}));

  out.fill(0xEE);
  EXPECT_EQ(file.ReadAt(5, out), 2u);  // only two bytes are left
  EXPECT_EQ(out, (std::array<std::uint8_t, 4>{6, 7, 0xEE, 0xEE}));

  EXPECT_EQ(file.ReadAt(7, out), 0u);
  EXPECT_EQ(file.ReadAt(1000, out), 0u);
  EXPECT_EQ(file.ReadAt(~std::uint64_t{0} - 1, out), 0u);  // no wrap-around
}

TEST(ReadOnlyFile, SizeIsSixtyFourBit) {
  ScratchDir dir;
  const std::string path = dir.Write("big.bin", std::string_view("x"));
  constexpr std::uint64_t kFiveGiB = 5ull << 30;
  std::error_code error;
  std::filesystem::resize_file(path, kFiveGiB, error);  // sparse: takes no space
  if (error) GTEST_SKIP() << "cannot make a sparse 5 GiB file: " << error.message();

  const ReadOnlyFile file(path);
  EXPECT_EQ(file.Size(), kFiveGiB);
  std::array<std::uint8_t, 4> out{9, 9, 9, 9};
  EXPECT_EQ(file.ReadAt(kFiveGiB - 2, out), 2u);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 0);
}

TEST(ReadOnlyFile, MissingFileThrowsWithTheSystemsReason) {
  ScratchDir dir;
  const std::string path = dir.File("missing.ac3");
  try {
    ReadOnlyFile file(path);
    FAIL() << "opened a missing file";
  } catch (const FileError& error) {
    EXPECT_EQ(error.path(), path);
    EXPECT_EQ(error.reason(), std::strerror(ENOENT));
  }
}

TEST(ReadOnlyFile, RefusesWhatIsNotARegularFile) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.File("folder.ac3"));
  const std::string fifo = dir.File("pipe.dts");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0) << std::strerror(errno);

  // Opening the FIFO for reading would block without a writer: the check
  // must come first, so this test returns at all.
  for (const std::string& path : {dir.File("folder.ac3"), fifo, std::string("/dev/null")}) {
    try {
      ReadOnlyFile file(path);
      ADD_FAILURE() << "opened " << path;
    } catch (const FileError& error) {
      EXPECT_EQ(error.path(), path);
      EXPECT_EQ(error.reason(), "not a regular file");
    }
  }
}

TEST(ReadOnlyFile, UnreadableFileThrows) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads files without read permission";
  ScratchDir dir;
  const std::string path = dir.Write("locked.ac3", std::string_view("abc"));
  ASSERT_EQ(::chmod(path.c_str(), 0), 0);
  try {
    ReadOnlyFile file(path);
    FAIL() << "opened a file without read permission";
  } catch (const FileError& error) {
    EXPECT_EQ(error.reason(), std::strerror(EACCES));
  }
}

TEST(ReadOnlyFile, ClosesItsDescriptor) {
  ScratchDir dir;
  const std::string path = dir.Write("data.bin", std::string_view("abc"));
  const std::size_t before = OpenDescriptorCount();
  {
    const ReadOnlyFile file(path);
    EXPECT_EQ(OpenDescriptorCount(), before + 1);
  }
  EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST(ReadOnlyFile, MovedFileKeepsReading) {
  ScratchDir dir;
  const std::string path = dir.Write("data.bin", std::string_view("abc"));
  const std::size_t before = OpenDescriptorCount();
  ReadOnlyFile first(path);
  ReadOnlyFile second(std::move(first));
  std::array<std::uint8_t, 3> out{};
  EXPECT_EQ(second.ReadAt(0, out), 3u);
  EXPECT_EQ(out[2], 'c');
  ReadOnlyFile third(path);
  third = std::move(second);  // closes the descriptor third held
  EXPECT_EQ(OpenDescriptorCount(), before + 1);
  EXPECT_EQ(third.Size(), 3u);
}

}  // namespace
}  // namespace tonvika
