// tonvika-cli --extract as a user meets it: the default names, files that
// are never written over, usage that is refused, and no file left behind
// by a full disk, Ctrl-C, or anything else that stops a run. The bytes
// themselves are held against ffmpeg's by compare_extracted.py.
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/run_program.h"
#include "support/scratch_dir.h"

namespace tonvika::testing {
namespace {

namespace fs = std::filesystem;

const std::string kFixtures = TONVIKA_FIXTURES;
const std::string kMixed = kFixtures + "/mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB";
const std::string kTable = std::string(TONVIKA_SOURCE_DIR) + "/data/code.csv";

ProgramResult Cli(const std::string& dir, std::vector<std::string> args, const std::vector<std::string>& prefix = {}) {
  args.insert(args.begin(), {TONVIKA_CLI, "--code-csv", kTable});
  args.insert(args.begin(), prefix.begin(), prefix.end());
  args.insert(args.begin(), "20");
  return RunProgram("/usr/bin/timeout", args, dir);
}

std::string Describe(const ProgramResult& result) {
  return "status " + std::to_string(result.status) + "\nstdout:\n" + result.out + "\nstderr:\n" + result.err;
}

std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string Content(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ExtractCli, DefaultNamesGiveStreamLanguageLayoutRateAndDelay) {
  ScratchDir dir;
  const ProgramResult all = Cli(dir.Path(), {"--extract", "all", kMixed});
  ASSERT_EQ(all.status, 0) << Describe(all);
  const std::vector<std::string> expected = {
      "VTS_01_1 T80 en 3_2ch 448Kbps DELAY -5ms.ac3", "VTS_01_1 T83 fr 2_0ch 192Kbps DELAY -5ms.ac3",
      "VTS_01_1 T89 ja 3_2ch 768Kbps DELAY 0ms.dts",  "VTS_01_1 T8C es 2_0ch 1536Kbps DELAY 0ms.dts",
      "VTS_01_1 TA2 de 2_0ch 1536Kbps DELAY 0ms.wav", "VTS_01_1 TA5 it 1_0ch 2304Kbps DELAY 0ms.wav"};
  EXPECT_EQ(Names(dir.Path()), expected);
  EXPECT_EQ(all.out.find("MB/s"), std::string::npos) << "no progress line when stderr is no terminal";
  // A disc's title: the disc's name, the title set and the title.
  const ProgramResult title =
      Cli(dir.Path(), {"--extract", "0x81", "--title", "2", kFixtures + "/disc/titles_by_chain.iso"});
  ASSERT_EQ(title.status, 0) << Describe(title);
  EXPECT_EQ(title.out, "titles_by_chain VTS_01 title 2 T81 ja 2_0ch 192Kbps DELAY -5ms.ac3\n");
  EXPECT_TRUE(fs::exists(dir.File("titles_by_chain VTS_01 title 2 T81 ja 2_0ch 192Kbps DELAY -5ms.ac3")));
}

TEST(ExtractCli, AFileThatExistsIsReplacedOnlyWithForceAndTheSourceNever) {
  ScratchDir dir;
  const std::string target = dir.Write("track.ac3", "keep me");
  const ProgramResult refused = Cli(dir.Path(), {"--extract", "0x80", "-o", target, kMixed});
  EXPECT_EQ(refused.status, 2) << Describe(refused);
  EXPECT_NE(refused.err.find("track.ac3: file exists"), std::string::npos) << refused.err;
  EXPECT_EQ(Content(target), "keep me");
  const ProgramResult forced = Cli(dir.Path(), {"--extract", "0x80", "-o", target, "--force", kMixed});
  ASSERT_EQ(forced.status, 0) << Describe(forced);
  EXPECT_EQ(fs::file_size(target), 26880u);
  // Not even --force writes over the source, by whatever name it is given.
  const std::string source = dir.File("movie.vob");
  fs::copy_file(kMixed, source);
  fs::create_symlink(source, dir.File("link.ac3"));
  for (const std::string& over : {source, dir.File("link.ac3")}) {
    const ProgramResult run = Cli(dir.Path(), {"--extract", "0x80", "-o", over, "--force", source});
    EXPECT_EQ(run.status, 2) << over << Describe(run);
    EXPECT_NE(run.err.find("never written over"), std::string::npos) << run.err;
  }
  EXPECT_EQ(Content(source), Content(kMixed));
  EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"link.ac3", "movie.vob", "track.ac3"}));
}

TEST(ExtractCli, WhatCannotBeDoneIsSaidAtOnce) {
  ScratchDir dir;
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {{"--extract", "all", "-o", "one.ac3", kMixed}, 64, "give -o a folder"},
      {{"-o", "x.ac3", kMixed}, 64, "--output needs --extract"},
      {{"--extract", "0x8", kMixed}, 64, "stream id such as 0x80"},
      {{"--extract", "0x80", kMixed, kMixed}, 64, "one SOURCE"},
      {{"--extract", "0x81", kMixed}, 2, "no stream 0x81 (it holds 0x80, 0x83, 0x89, 0x8C, 0xA2, 0xA5)"},
      {{"--extract", "0x80", "--title", "9", kFixtures + "/disc/titles_by_chain"}, 2, "no title 9 (the disc has 3)"},
      {{"--extract", "0x80", kFixtures + "/raw/ac3_48000_5.1_448k.ac3"}, 2, "elementary stream already"},
      {{"--extract", "0x80", "-o", "missing/folder/x.ac3", kMixed}, 2, "x.ac3"},
  };
  for (const Case& c : cases) {
    const ProgramResult run = Cli(dir.Path(), c.args);
    EXPECT_EQ(run.status, c.status) << c.message << Describe(run);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << Describe(run);
  }
  EXPECT_TRUE(Names(dir.Path()).empty());
}

// Past `ulimit -f` the write fails (SIGXFSZ is ignored, so the program
// lives to clean up): status 2, a clear reason, and nothing left.
TEST(ExtractCli, AFullDiskLeavesNoFile) {
  ScratchDir dir;
  const ProgramResult run = Cli(dir.Path(), {"--extract", "0x8C", kMixed}, {"/usr/bin/prlimit", "--fsize=20000"});
  EXPECT_EQ(run.status, 2) << Describe(run);
  EXPECT_NE(run.err.find("File too large"), std::string::npos) << run.err;
  EXPECT_TRUE(Names(dir.Path()).empty());
}

// A VOB of some tens of megabytes: the fixture repeated.
std::string BigVob(const ScratchDir& dir) {
  const std::string one = Content(kMixed);
  std::string big;
  while (big.size() < (std::size_t{48} << 20)) big += one;
  return dir.Write("big.VOB", big);
}

// The run stopped once it writes its unnamed file (it is then well into
// the extraction), so that what follows does not race its end.
class StoppedRun {
 public:
  StoppedRun(const std::string& dir, const std::vector<std::string>& args, bool terminal) {
    std::vector<std::string> storage{TONVIKA_CLI, "--code-csv", kTable};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : storage) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_ = terminal ? ::forkpty(&terminal_, nullptr, nullptr, nullptr) : ::fork();
    if (pid_ == 0) {
      if (::chdir(dir.c_str()) != 0) ::_exit(127);
      if (!terminal) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
      }
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!WritesUnnamedFile() && std::chrono::steady_clock::now() < deadline) {
      if (terminal_ >= 0) Drain();
    }
    ::kill(pid_, SIGSTOP);
  }
  ~StoppedRun() {
    if (terminal_ >= 0) ::close(terminal_);
  }

  // Lets it go on; its exit status (-1 when a signal ended it).
  int Finish() {
    ::kill(pid_, SIGCONT);
    int status = 0;
    for (;;) {
      if (terminal_ >= 0) Drain();
      const pid_t done = ::waitpid(pid_, &status, terminal_ >= 0 ? WNOHANG : 0);
      if (done == pid_) break;
    }
    if (terminal_ >= 0) Drain();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  pid_t Pid() const { return pid_; }
  const std::string& Terminal() const { return seen_; }

 private:
  bool WritesUnnamedFile() const {
    std::error_code ec;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid_) + "/fd", ec)) {
      if (fs::read_symlink(fd.path(), ec).string().find("(deleted)") != std::string::npos) return true;
    }
    return false;
  }
  void Drain() {
    char chunk[4096];
    pollfd poll_fd{terminal_, POLLIN, 0};
    while (::poll(&poll_fd, 1, 1) > 0) {
      const ssize_t got = ::read(terminal_, chunk, sizeof chunk);
      if (got <= 0) break;
      seen_.append(chunk, static_cast<std::size_t>(got));
    }
  }

  pid_t pid_ = -1;
  int terminal_ = -1;
  std::string seen_;
};

TEST(ExtractCli, CtrlCLeavesNoFileAndExits130) {
  ScratchDir dir;
  const std::string vob = BigVob(dir);
  fs::create_directory(dir.File("out"));
  StoppedRun run(dir.File("out"), {"--extract", "all", vob}, false);
  ::kill(run.Pid(), SIGINT);
  EXPECT_EQ(run.Finish(), 130);
  EXPECT_TRUE(Names(dir.File("out")).empty());
}

// On a terminal, standard error shows the progress line by default; a
// pause longer than its first redraw makes sure one is drawn.
TEST(ExtractCli, ProgressLineOnATerminal) {
  ScratchDir dir;
  const std::string vob = BigVob(dir);
  StoppedRun run(dir.Path(), {"--extract", "0x80", vob}, true);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(run.Finish(), 0) << run.Terminal();
  EXPECT_NE(run.Terminal().find("MB/s"), std::string::npos) << run.Terminal();
  EXPECT_NE(run.Terminal().find("% "), std::string::npos) << run.Terminal();
  EXPECT_NE(run.Terminal().find("\r"), std::string::npos) << run.Terminal();
  EXPECT_NE(run.Terminal().find("big T80 3_2ch 448Kbps DELAY -5ms.ac3"), std::string::npos) << run.Terminal();
}

}  // namespace
}  // namespace tonvika::testing
