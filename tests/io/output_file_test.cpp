#include "io/output_file.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../support/scratch_dir.h"
#include "io/file_error.h"

namespace tonvika {
namespace {

using testing::ScratchDir;

enum class Naming { Unnamed, Hidden };

std::unique_ptr<OutputFile> Open(Naming naming, const std::string& path, bool replace) {
  if (naming == Naming::Hidden) {
    return std::unique_ptr<OutputFile>(new OutputFile(detail::MakeHiddenOutputFile(path, replace)));
  }
  return std::make_unique<OutputFile>(path, replace);
}

std::vector<std::string> Names(const ScratchDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    names.push_back(entry.path().filename());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Content(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::uint8_t> Pattern(std::size_t size, std::uint8_t seed) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + seed);
  return bytes;
}

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// The reason of the FileError `action` throws, or "" when it throws none.
template <typename Action>
std::string ReasonOf(Action action) {
  try {
    action();
  } catch (const FileError& error) {
    return error.reason();
  }
  return "";
}

class OutputFileTest : public ::testing::TestWithParam<Naming> {};

TEST_P(OutputFileTest, HasNoNameUntilCommitAndLeavesNothingWithout) {
  ScratchDir dir;
  const std::string path = dir.File("out.ac3");
  // Small writes around one larger than the buffer, so both ways are taken.
  const auto small = Pattern(1000, 1);
  const auto large = Pattern(3 << 19, 2);
  std::string expected;
  {
    auto file = Open(GetParam(), path, false);
    for (const auto* bytes : {&small, &large, &small}) {
      file->Write(*bytes);
      expected += Text(*bytes);
    }
    EXPECT_EQ(file->Size(), expected.size());
    const auto names = Names(dir);
    if (GetParam() == Naming::Unnamed) {
      EXPECT_TRUE(names.empty());
    } else {
      ASSERT_EQ(names.size(), 1u);
      EXPECT_TRUE(names[0].starts_with(".out.ac3.")) << names[0];
    }
  }
  EXPECT_TRUE(Names(dir).empty());

  const mode_t mask = ::umask(022);
  {
    auto file = Open(GetParam(), path, false);
    file->Write(large);
    file->Write(small);
    EXPECT_FALSE(std::filesystem::exists(path));
    file->Commit();
    EXPECT_EQ(file->Path(), path);
  }
  ::umask(mask);
  EXPECT_EQ(Names(dir), std::vector<std::string>{"out.ac3"});
  EXPECT_EQ(Content(path), Text(large) + Text(small));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST_P(OutputFileTest, NeverReplacesAFileUnlessAsked) {
  ScratchDir dir;
  const std::string path = dir.Write("out.ac3", std::string_view("old"));
  EXPECT_EQ(ReasonOf([&] { Open(GetParam(), path, false); }), "file exists");

  // A file that appears while the extraction runs.
  const std::string later = dir.File("later.ac3");
  {
    auto file = Open(GetParam(), later, false);
    file->Write(Pattern(10, 3));
    dir.Write("later.ac3", std::string_view("theirs"));
    EXPECT_EQ(ReasonOf([&] { file->Commit(); }), "file exists");
  }
  EXPECT_EQ(Content(later), "theirs");

  for (const std::string& target : {path, later}) {
    auto file = Open(GetParam(), target, true);
    file->Write(Pattern(5, 4));
    file->Commit();
    EXPECT_EQ(Content(target), Text(Pattern(5, 4)));
  }
  EXPECT_EQ(Names(dir), (std::vector<std::string>{"later.ac3", "out.ac3"}));
}

TEST_P(OutputFileTest, CommitsUnderANameSettledAtTheEnd) {
  ScratchDir dir;
  const std::string taken = dir.Write("taken.ac3", std::string_view("theirs"));
  const std::string settled = dir.File("settled.ac3");
  auto file = Open(GetParam(), dir.File("planned.ac3"), false);
  file->Write(Pattern(10, 8));
  EXPECT_EQ(ReasonOf([&] { file->Commit(taken); }), "file exists");
  file->Commit(settled);
  EXPECT_EQ(file->Path(), settled);
  EXPECT_EQ(Content(settled), Text(Pattern(10, 8)));
  EXPECT_EQ(Content(taken), "theirs");
  EXPECT_EQ(Names(dir), (std::vector<std::string>{"settled.ac3", "taken.ac3"}));
}

TEST_P(OutputFileTest, WriteAtPatchesWrittenBytes) {
  ScratchDir dir;
  const std::string path = dir.File("out.wav");
  auto file = Open(GetParam(), path, false);
  file->Write(Pattern(44, 0));
  file->Write(Pattern(100, 9));
  const std::vector<std::uint8_t> size_field = {0xAA, 0xBB, 0xCC, 0xDD};
  file->WriteAt(4, size_field);
  file->Write(Pattern(6, 5));  // still appended after the patch
  EXPECT_THROW(file->WriteAt(148, size_field), std::out_of_range);
  file->Commit();

  std::string expected = Text(Pattern(44, 0)) + Text(Pattern(100, 9)) + Text(Pattern(6, 5));
  expected.replace(4, 4, Text(size_field));
  EXPECT_EQ(Content(path), expected);
}

TEST_P(OutputFileTest, AWriteBeyondTheFileSizeLimitFailsAndLeavesNothing) {
  ScratchDir dir;
  const std::string path = dir.File("out.ac3");
  constexpr rlim_t kLimit = 100000;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Exit codes: 0 passed, 1 no error, 2 another reason, 3 something left.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kLimit, kLimit};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const std::string reason = ReasonOf([&] {
      auto file = Open(GetParam(), path, false);
      file->Write(Pattern(kLimit + 1, 6));  // one large write, taken in part
      file->Commit();
    });
    if (reason.empty()) ::_exit(1);
    if (reason != std::strerror(EFBIG)) ::_exit(2);
    ::_exit(Names(dir).empty() ? 0 : 3);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_P(OutputFileTest, AFolderThatCannotTakeTheFileIsRefused) {
  ScratchDir dir;
  const std::string plain = dir.Write("plain", std::string_view("x"));
  EXPECT_EQ(ReasonOf([&] { Open(GetParam(), dir.File("missing/out.ac3"), false); }), std::strerror(ENOENT));
  EXPECT_EQ(ReasonOf([&] { Open(GetParam(), plain + "/out.ac3", false); }), std::strerror(ENOTDIR));
  EXPECT_EQ(ReasonOf([&] { Open(GetParam(), dir.File(""), true); }), std::strerror(EISDIR));

  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const std::string locked = dir.File("locked");
  std::filesystem::create_directory(locked);
  std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_EQ(ReasonOf([&] { Open(GetParam(), locked + "/out.ac3", false); }), std::strerror(EACCES));
}

INSTANTIATE_TEST_SUITE_P(BothNamings, OutputFileTest, ::testing::Values(Naming::Unnamed, Naming::Hidden),
                         [](const auto& info) { return info.param == Naming::Unnamed ? "Unnamed" : "Hidden"; });

}  // namespace
}  // namespace tonvika
