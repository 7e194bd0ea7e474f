// tonvika-cli, the real built program, on bad input: files that cannot be
// opened, files cut short, absurd packet fields, huge and sparse files,
// broken language tables and file names in other encodings. Every case must
// end in a message or a result, never in a crash, a hang or a huge memory use.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/stream_builder.h"

extern char** environ;

namespace tonvika::cli {
namespace {

using testing::Bytes;
using testing::ScratchDir;
namespace fs = std::filesystem;

const std::string kCli = TONVIKA_CLI;
const std::string kFixtures = TONVIKA_FIXTURES;
const std::string kSource = TONVIKA_SOURCE_DIR;
const std::string kTable = kSource + "/data/code.csv";
const std::string kSampleDir = kSource + "/samples/VIDEO_TS";
const std::string kMixedDir = kFixtures + "/mixed_ac3_dts_lpcm/VIDEO_TS";
constexpr std::uint64_t kMiB = 1 << 20;
constexpr std::uint64_t kFiveGiB = std::uint64_t{5} << 30;
// Generous enough for a sanitizer build; a run that reads a 5 GB file
// whole, or waits on a FIFO, is far beyond it (timeout gives 124).
constexpr double kQuickSeconds = 10.0;
constexpr long kModestMemoryKb = 256 * 1024;

struct Outcome {
  int status = -1;  // exit status; 128 + signal when killed
  std::string out;
  std::string err;
  double seconds = 0;
  long max_rss_kb = 0;
};

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bytes ReadBytes(const std::string& path) {
  const std::string text = ReadText(path);
  return Bytes(text.begin(), text.end());
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Runs `prefix... timeout 20 tonvika-cli args...` with stdout and stderr in
// files, and takes exit status, time and peak memory of the whole run.
Outcome RunProgram(const std::vector<std::string>& args, const std::vector<std::string>& prefix = {}) {
  static int counter = 0;
  const std::string base = fs::temp_directory_path().string() + "/tonvika-run-" +
                           std::to_string(::getpid()) + "-" + std::to_string(counter++);
  const std::string out_path = base + ".out";
  const std::string err_path = base + ".err";

  std::vector<std::string> command = prefix;
  for (const char* word : {"timeout", "20"}) command.emplace_back(word);
  command.push_back(kCli);
  command.insert(command.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& word : command) argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  Outcome outcome;
  if (spawned != 0) {
    outcome.err = "could not start " + command[0];
    return outcome;
  }
  int wait_status = 0;
  rusage usage{};
  while (::wait4(pid, &wait_status, 0, &usage) < 0 && errno == EINTR) {
  }
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  outcome.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
  outcome.max_rss_kb = usage.ru_maxrss;
  outcome.out = ReadText(out_path);
  outcome.err = ReadText(err_path);
  fs::remove(out_path);
  fs::remove(err_path);
  return outcome;
}

Outcome RunWithTable(std::vector<std::string> args) {
  args.insert(args.begin(), {"--code-csv", kTable});
  return RunProgram(args);
}

std::string Describe(const Outcome& outcome) {
  return "status " + std::to_string(outcome.status) + ", " + std::to_string(outcome.seconds) +
         " s, " + std::to_string(outcome.max_rss_kb) + " kB\nstdout:\n" + outcome.out.substr(0, 2000) +
         "\nstderr:\n" + outcome.err;
}

std::string ErrorLine(const std::string& path, const std::string& reason) {
  return "tonvika-cli: " + path + ": " + reason + "\n";
}

std::string NothingFoundLine(const std::string& path) {
  return ErrorLine(path, "no audio track found (empty file or no frame header)");
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The eight kind texts of a video object's list report (rows "1 ..." to
// "8 ..." after the path, "----------", "List" and "Tr").
std::vector<std::string> Rows(const std::string& report) {
  const std::vector<std::string> lines = Lines(report);
  std::vector<std::string> rows;
  for (std::size_t i = 4; i < lines.size() && rows.size() < 8; ++i) rows.push_back(lines[i].substr(2));
  return rows;
}

std::size_t FilledRows(const std::vector<std::string>& rows) {
  return static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(),
                                                [](const std::string& row) { return !row.empty(); }));
}

// The offset of the first private stream 1 packet of `sub_stream` in a VOB.
std::size_t FirstPacketOf(const Bytes& vob, std::uint8_t sub_stream) {
  for (std::size_t p = 0; p + 16 < vob.size(); ++p) {
    if (vob[p] == 0 && vob[p + 1] == 0 && vob[p + 2] == 1 && vob[p + 3] == 0xBD &&
        vob[p + 9 + vob[p + 8]] == sub_stream) {
      return p;
    }
  }
  ADD_FAILURE() << "no packet of sub-stream " << int{sub_stream};
  return 0;
}

std::size_t Find(const Bytes& bytes, const Bytes& what, std::size_t from) {
  const auto at = std::search(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(), what.begin(), what.end());
  return static_cast<std::size_t>(at - bytes.begin());
}

void MakeSparse(const std::string& path, std::uint64_t size) {
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(size)), 0) << path;
}

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path == nullptr ? "" : path);
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (::access((folder + "/" + program).c_str(), X_OK) == 0) return true;
  }
  return false;
}

// The list rows of a file run on its own (the last line for a raw file).
std::vector<std::string> RowsOf(const std::string& path) {
  const Outcome result = RunWithTable({path});
  EXPECT_EQ(result.status, 0) << Describe(result);
  return Rows(result.out);
}

std::string RawRowOf(const std::string& path) {
  const Outcome result = RunWithTable({path});
  EXPECT_EQ(result.status, 0) << Describe(result);
  const auto lines = Lines(result.out);
  return lines.empty() ? std::string() : lines.back();
}

bool IsSparse(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && static_cast<std::uint64_t>(info.st_blocks) * 512 < 64 * kMiB;
}

// ---------------------------------------------------------------------------
// Files that cannot be opened, or hold nothing.

TEST(Robustness, MissingFile) {
  ScratchDir dir;
  const std::string path = dir.File("missing.vob");
  const Outcome result = RunWithTable({path});
  EXPECT_EQ(result.status, 2) << Describe(result);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, ErrorLine(path, "No such file or directory"));
}

TEST(Robustness, ZeroByteFilesChangeNothing) {
  ScratchDir dir;
  for (const char* name : {"empty.vob", "empty.ac3", "empty.DTS", "empty"}) {
    const std::string path = dir.Write(name, Bytes{});
    const Outcome result = RunWithTable({path});
    EXPECT_EQ(result.status, 1) << name << "\n" << Describe(result);
    EXPECT_EQ(result.out, "") << name;
    EXPECT_EQ(result.err, NothingFoundLine(path)) << name;
  }
}

TEST(Robustness, FolderIsNotARegularFile) {
  ScratchDir dir;
  for (const char* name : {"folder.vob", "folder.ac3", "folder.dts"}) {
    const std::string path = dir.File(name);
    fs::create_directories(path);
    const Outcome result = RunWithTable({path});
    EXPECT_EQ(result.status, 2) << Describe(result);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, ErrorLine(path, "not a regular file"));
  }
}

// A FIFO without a writer would block an open for reading: the program looks
// at the file's type first and never opens it.
TEST(Robustness, FifoWithoutWriterDoesNotHang) {
  ScratchDir dir;
  for (const char* name : {"fifo.vob", "fifo.ac3"}) {
    const std::string path = dir.File(name);
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    const std::string link = dir.File(std::string("link-to-") + name);
    fs::create_symlink(path, link);
    const Outcome result = RunWithTable({path, link});
    EXPECT_EQ(result.status, 2) << Describe(result);
    EXPECT_LT(result.seconds, kQuickSeconds);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, ErrorLine(path, "not a regular file") + ErrorLine(link, "not a regular file"));
  }
}

TEST(Robustness, DeviceIsNotARegularFile) {
  const Outcome result = RunWithTable({"/dev/zero", "/dev/null"});
  EXPECT_EQ(result.status, 2) << Describe(result);
  EXPECT_EQ(result.err, ErrorLine("/dev/zero", "not a regular file") + ErrorLine("/dev/null", "not a regular file"));
}

TEST(Robustness, SymlinkLoop) {
  ScratchDir dir;
  const std::string a = dir.File("a.vob");
  const std::string b = dir.File("b.vob");
  fs::create_symlink(b, a);
  fs::create_symlink(a, b);
  const Outcome result = RunWithTable({a});
  EXPECT_EQ(result.status, 2) << Describe(result);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, ErrorLine(a, "Too many levels of symbolic links"));
}

// Root reads everything, so the program runs as "nobody" for this case.
class Unreadable : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() == 0) {
      if (!OnPath("setpriv")) {
        GTEST_SKIP() << "running as root and setpriv is not available to drop privileges";
      }
      prefix_ = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    }
    fs::permissions(dir_.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
    table_ = dir_.File("code.csv");
    fs::copy_file(kTable, table_);
    vob_ = dir_.File("VTS_01_1.VOB");
    ifo_ = dir_.File("VTS_01_0.IFO");
    fs::copy_file(kSampleDir + "/VTS_01_1.VOB", vob_);
    fs::copy_file(kSampleDir + "/VTS_01_0.IFO", ifo_);
    // With everything readable the same command works: what fails below
    // fails for the permission alone.
    const Outcome control = RunAsOther({vob_});
    if (control.status != 0) {
      GTEST_SKIP() << "the program cannot run as another user here: " << Describe(control);
    }
  }

  Outcome RunAsOther(std::vector<std::string> args) {
    args.insert(args.begin(), {"--code-csv", table_});
    return RunProgram(args, prefix_);
  }

  ScratchDir dir_;
  std::vector<std::string> prefix_;
  std::string table_, vob_, ifo_;
};

TEST_F(Unreadable, VideoObjectWithoutReadPermission) {
  fs::permissions(vob_, fs::perms::none);
  const Outcome result = RunAsOther({vob_});
  EXPECT_EQ(result.status, 2) << Describe(result);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, ErrorLine(vob_, "Permission denied"));
}

// An information file that exists but cannot be opened stops the run.
TEST_F(Unreadable, InformationFileWithoutReadPermission) {
  fs::permissions(ifo_, fs::perms::none);
  const Outcome result = RunAsOther({vob_});
  EXPECT_EQ(result.status, 2) << Describe(result);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, ErrorLine(ifo_, "Permission denied"));
}

TEST_F(Unreadable, LanguageTableWithoutReadPermission) {
  fs::permissions(table_, fs::perms::none);
  const Outcome result = RunAsOther({vob_});
  EXPECT_EQ(result.status, 2) << Describe(result);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, ErrorLine(table_, "Permission denied"));
}

// ---------------------------------------------------------------------------
// Huge sparse files: 64-bit sizes, and only the start is read.

class SparseFile : public ::testing::Test {
 protected:
  std::string Make(const std::string& name, const Bytes& head, std::uint64_t tail_at = 0, const Bytes& tail = {}) {
    const std::string path = dir_.Write(name, head);
    if (!tail.empty()) {
      std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
      file.seekp(static_cast<std::streamoff>(tail_at));
      file.write(reinterpret_cast<const char*>(tail.data()), static_cast<std::streamsize>(tail.size()));
    }
    MakeSparse(path, kFiveGiB);
    EXPECT_EQ(fs::file_size(path), kFiveGiB);
    if (!IsSparse(path)) ADD_FAILURE() << "the file system made " << path << " take real space";
    return path;
  }
  ScratchDir dir_;
};

TEST_F(SparseFile, VideoObjectWithTracksAtTheStart) {
  const std::string fixture = kFixtures + "/eight_languages/VIDEO_TS/VTS_01_1.VOB";
  const std::string path = Make("big.vob", ReadBytes(fixture));
  const Outcome result = RunWithTable({path});
  EXPECT_EQ(result.status, 0) << Describe(result);
  EXPECT_LT(result.seconds, kQuickSeconds);
  EXPECT_LT(result.max_rss_kb, kModestMemoryKb);
  EXPECT_EQ(FilledRows(Rows(result.out)), 8u) << result.out;
  // The fixture's own rows carry its IFO's languages; the copy has no IFO.
  std::vector<std::string> expected = RowsOf(fixture);
  for (std::string& row : expected) {
    const auto language = row.find(" [");
    if (language != std::string::npos) row.erase(language, row.find(']', language) + 1 - language);
  }
  EXPECT_EQ(Rows(result.out), expected);
}

// Tracks that lie beyond the read window are not seen, however large the file.
TEST_F(SparseFile, VideoObjectWithTracksOnlyFarBeyondTheWindow) {
  const Bytes vob = ReadBytes(kFixtures + "/eight_languages/VIDEO_TS/VTS_01_1.VOB");
  const std::string path = Make("far.vob", {}, std::uint64_t{4} << 30, vob);
  const Outcome result = RunWithTable({"--read-size", "20", path});
  EXPECT_EQ(result.status, 0) << Describe(result);
  EXPECT_LT(result.seconds, kQuickSeconds);
  EXPECT_LT(result.max_rss_kb, kModestMemoryKb);
  EXPECT_EQ(FilledRows(Rows(result.out)), 0u) << result.out;
  EXPECT_EQ(Lines(result.out).size(), 12u);
}

// Under strace: no read reaches past the window of --read-size megabytes.
TEST_F(SparseFile, OnlyTheWindowIsRead) {
  const std::string path = Make("window.vob", ReadBytes(kMixedDir + "/VTS_01_1.VOB"));
  const std::string trace = dir_.File("trace.txt");
  // A sanitizer build's leak check cannot work under ptrace.
  const char* asan = std::getenv("ASAN_OPTIONS");
  const std::string asan_options = std::string("ASAN_OPTIONS=") + (asan != nullptr ? asan : "") + ":detect_leaks=0";
  const Outcome result =
      RunProgram({"--code-csv", kTable, "--read-size", "3", path},
                 {"strace", "-f", "-qq", "-e", "trace=read,pread64", "-o", trace, "env", asan_options});
  if (!OnPath("strace")) GTEST_SKIP() << "strace is not installed";
  if (!fs::exists(trace) || fs::file_size(trace) == 0) {
    GTEST_SKIP() << "strace cannot trace here: " << Describe(result);
  }
  ASSERT_EQ(result.status, 0) << Describe(result);
  const std::regex pread(R"(pread64\(\d+, .*, (\d+), (\d+)\) += (\d+)$)");
  const std::regex read(R"(\bread\(\d+, .*, \d+\) += (\d+)$)");
  std::uint64_t total = 0, furthest = 0;
  for (const std::string& line : Lines(ReadText(trace))) {
    std::smatch match;
    if (std::regex_search(line, match, pread)) {
      const std::uint64_t got = std::stoull(match[3]);
      total += got;
      furthest = std::max<std::uint64_t>(furthest, std::stoull(match[2]) + got);
    } else if (std::regex_search(line, match, read)) {
      total += std::stoull(match[1]);
    }
  }
  EXPECT_EQ(furthest, 3 * kMiB);
  EXPECT_LT(total, 3 * kMiB + 256 * 1024);  // the window, the table and the program's own loading
}

TEST_F(SparseFile, RawFileWithFrameAtTheStart) {
  const std::string fixture = kFixtures + "/ac3_acmods/raw/ac3_48000_5.1_640k.ac3";
  const std::string path = Make("big.ac3", ReadBytes(fixture));
  const Outcome result = RunWithTable({path});
  EXPECT_EQ(result.status, 0) << Describe(result);
  EXPECT_LT(result.seconds, kQuickSeconds);
  EXPECT_EQ(result.out, path + "\n----------\nList\n" + RawRowOf(fixture) + "\n");
}

// The sync search skips the holes of a sparse file instead of reading
// gigabytes of zeros: no sync word at all ends quickly, and a frame far
// behind a hole is still found.
TEST_F(SparseFile, RawFilesWithoutSyncWordOrWithFrameBehindAHole) {
  const std::string nothing = Make("nothing.dts", {});
  const std::string junk = Make("junk.ac3", Bytes(100000, 0x55));
  const std::string fixture = kFixtures + "/dts/raw/dts_48000_5.1_768k.dts";
  const std::string far = Make("far.dts", {}, std::uint64_t{4} << 30, ReadBytes(fixture));
  Outcome result = RunWithTable({nothing, junk});
  EXPECT_EQ(result.status, 1) << Describe(result);
  EXPECT_LT(result.seconds, kQuickSeconds);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, NothingFoundLine(nothing) + NothingFoundLine(junk));

  result = RunWithTable({far});
  EXPECT_EQ(result.status, 0) << Describe(result);
  EXPECT_LT(result.seconds, kQuickSeconds);
  EXPECT_EQ(result.out, far + "\n----------\nList\n" + RawRowOf(fixture) + "\n");
}

// ---------------------------------------------------------------------------
// Video objects cut in the middle of a packet.

class CutVideoObject : public ::testing::Test {
 protected:
  void SetUp() override {
    vob_ = ReadBytes(kMixedDir + "/VTS_01_1.VOB");
    // A copy without an IFO beside it, like the cut copies.
    const Outcome whole = RunWithTable({dir_.Write("whole.vob", vob_)});
    ASSERT_EQ(whole.status, 0);
    whole_rows_ = Rows(whole.out);
    ASSERT_EQ(FilledRows(whole_rows_), 6u) << whole.out;
  }

  // The cut file's report: every track it shows is the one the whole file
  // shows in that slot (the walk over a prefix publishes a prefix of the same
  // tracks), and the run ends normally.
  std::vector<std::string> Analyse(std::size_t size, const std::vector<std::string>& options = {}) {
    const std::string path = dir_.Write("cut_" + std::to_string(size) + ".vob",
                                        Bytes(vob_.begin(), vob_.begin() + static_cast<std::ptrdiff_t>(size)));
    std::vector<std::string> args = options;
    args.push_back(path);
    const Outcome result = RunWithTable(args);
    EXPECT_EQ(result.status, 0) << size << "\n" << Describe(result);
    EXPECT_EQ(result.err, "") << size;
    const std::vector<std::string> rows = Rows(result.out);
    EXPECT_EQ(Lines(result.out).size(), 12u) << size;
    for (std::size_t n = 0; n < rows.size(); ++n) {
      if (!rows[n].empty()) {
        EXPECT_EQ(rows[n], whole_rows_[n]) << "cut at " << size << ", slot " << n + 1;
      }
    }
    return rows;
  }

  ScratchDir dir_;
  Bytes vob_;
  std::vector<std::string> whole_rows_;
};

TEST_F(CutVideoObject, OddSizes) {
  for (const std::size_t size : {std::size_t{1}, std::size_t{16}, std::size_t{17}, std::size_t{4113}, std::size_t{6173},
                                 std::size_t{8219}, std::size_t{65537}, std::size_t{199999}, vob_.size() - 1,
                                 vob_.size() - 2047}) {
    Analyse(size);
  }
  // Once all six tracks lie inside, the cut file shows all of them.
  EXPECT_EQ(Analyse(300001), whole_rows_);
}

// Cut exactly around the bytes each kind needs from its first packet: a
// packet whose needed bytes are not all inside the window is passed over.
TEST_F(CutVideoObject, AtTheBytesEachKindNeeds) {
  const std::size_t lpcm = FirstPacketOf(vob_, 0xA2);
  const std::size_t attribute = lpcm + 14 + vob_[lpcm + 8];
  const std::size_t lpcm_slot = 2;
  EXPECT_EQ(Analyse(attribute)[lpcm_slot], "");
  EXPECT_EQ(Analyse(attribute + 1)[lpcm_slot], whole_rows_[lpcm_slot]);

  const std::size_t dts = FirstPacketOf(vob_, 0x89);
  const std::size_t sync = Find(vob_, {0x7F, 0xFE, 0x80, 0x01}, dts);
  const std::size_t dts_slot = 1;
  EXPECT_EQ(Analyse(sync + 4)[dts_slot], "");   // the sync word alone
  EXPECT_EQ(Analyse(sync + 14)[dts_slot], "");  // one header byte short
  EXPECT_EQ(Analyse(sync + 15)[dts_slot], whole_rows_[dts_slot]);

  // Cut in the sub-stream number, the PES header and the middle of the payload.
  const std::size_t ac3 = FirstPacketOf(vob_, 0x80);
  for (const std::size_t at : {ac3 + 3, ac3 + 9, ac3 + 9 + vob_[ac3 + 8], ac3 + 500, ac3 + 1111}) {
    EXPECT_EQ(Analyse(at)[0], "") << at;  // one AC-3 packet never confirms
  }
}

// --read-size 1 on a file of more than 1 MiB, with a DTS packet that
// straddles the 1 MiB mark: its sync word lies inside, its header bytes do
// not. The window gives exactly what the file cut at 1 MiB gives.
TEST_F(CutVideoObject, ReadSizeOneWithPacketAcrossTheMark) {
  const std::size_t dts = FirstPacketOf(vob_, 0x89);
  const std::size_t sync = Find(vob_, {0x7F, 0xFE, 0x80, 0x01}, dts);
  const std::size_t shift = kMiB - 8 - sync;  // sync word at 1 MiB - 8
  ASSERT_GT(dts + 6 + ((vob_[dts + 4] << 8) | vob_[dts + 5]), sync + 8);
  Bytes big(shift, 0xFF);
  testing::Append(big, vob_);
  ASSERT_GT(big.size(), kMiB);
  const std::string path = dir_.Write("across.vob", big);
  const std::string cut = dir_.Write("cut.vob", Bytes(big.begin(), big.begin() + kMiB));

  const Outcome window = RunWithTable({"--read-size", "1", path});
  const Outcome cut_file = RunWithTable({"--read-size", "20", cut});
  const Outcome larger = RunWithTable({"--read-size", "2", path});
  ASSERT_EQ(window.status, 0) << Describe(window);
  ASSERT_EQ(cut_file.status, 0) << Describe(cut_file);
  ASSERT_EQ(larger.status, 0) << Describe(larger);
  EXPECT_EQ(Rows(window.out), Rows(cut_file.out));
  EXPECT_EQ(Rows(window.out)[1], "");  // the DTS track is not seen in 1 MiB
  EXPECT_EQ(Rows(larger.out), whole_rows_);
}

// ---------------------------------------------------------------------------
// Packets with absurd fields.

class AbsurdPacket : public ::testing::Test {
 protected:
  // An AC-3 packet of sub-stream 0x80 with three frames; field bytes patched.
  static Bytes Ac3Packet(std::uint8_t sub_stream = 0x80) {
    return testing::PrivateStream1Packet(sub_stream, testing::Ac3Payload(3));
  }
  static void SetLength(Bytes& packet, std::size_t at, unsigned length) {
    packet[at + 4] = static_cast<std::uint8_t>(length >> 8);
    packet[at + 5] = static_cast<std::uint8_t>(length & 0xFF);
  }
  Outcome Analyse(const Bytes& bytes, const std::string& name) {
    return RunWithTable({dir_.Write(name, bytes)});
  }
  ScratchDir dir_;
};

constexpr const char* kAc3Row = "AC-3 448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM ";

// L = 0: the packet is not searched and the walk goes on at the next byte,
// so the following packet is still found.
TEST_F(AbsurdPacket, LengthZero) {
  Bytes stream = Ac3Packet(0x80);
  SetLength(stream, 0, 0);
  testing::Append(stream, Ac3Packet(0x81));
  stream.resize(stream.size() + 32, 0);
  const Outcome result = Analyse(stream, "l0.vob");
  EXPECT_EQ(result.status, 0) << Describe(result);
  const auto rows = Rows(result.out);
  EXPECT_EQ(rows[0], "");
  EXPECT_EQ(rows[1], kAc3Row);
}

// L = 0xFFFF in a small file: the search stops at the end of the window, the
// frames inside it still confirm the track, and the walk's jump by L passes
// over the rest of the file.
TEST_F(AbsurdPacket, LengthFarPastTheEndOfTheFile) {
  Bytes stream = Ac3Packet(0x80);
  SetLength(stream, 0, 0xFFFF);
  testing::Append(stream, testing::PrivateStream1Packet(0xA1, testing::LpcmPayload(0x01)));
  stream.resize(stream.size() + 32, 0);
  const Outcome result = Analyse(stream, "lffff.vob");
  EXPECT_EQ(result.status, 0) << Describe(result);
  const auto rows = Rows(result.out);
  EXPECT_EQ(rows[0], kAc3Row);
  EXPECT_EQ(rows[1], "");  // inside the claimed packet, never looked at
}

// H = 0xFF: the sub-stream number would lie 264 bytes on, past the end of
// this file, so the packet is passed over.
TEST_F(AbsurdPacket, HeaderLengthFF) {
  Bytes stream = Ac3Packet(0x80);
  stream[8] = 0xFF;
  stream.resize(stream.size() + 20, 0);
  ASSERT_LT(stream.size(), 9u + 0xFF);
  const Outcome result = Analyse(stream, "hff.vob");
  EXPECT_EQ(result.status, 0) << Describe(result);
  EXPECT_EQ(FilledRows(Rows(result.out)), 0u) << result.out;
}

// H pointing past a short packet: the sub-stream number and the LPCM
// attribute are taken from the bytes where H points, as they lie in the file.
TEST_F(AbsurdPacket, HeaderLengthPastThePacket) {
  Bytes stream = {0x00, 0x00, 0x01, 0xBD, 0x00, 0x04, 0x81, 0x80, 0x30, 0x00};  // L = 4, H = 48
  stream.resize(9 + 0x30, 0x00);
  testing::Append(stream, {0xA3, 0x01, 0x00, 0x04, 0x00, 0x01, 0x80});  // S = 0xA3, attribute 0x01
  stream.resize(stream.size() + 32, 0x00);
  const Outcome result = Analyse(stream, "hpast.vob");
  EXPECT_EQ(result.status, 0) << Describe(result);
  const auto rows = Rows(result.out);
  EXPECT_EQ(rows[3], "PCM 16bit 48000Hz stereo");
  EXPECT_EQ(FilledRows(rows), 1u);
}

// A start code in each of the last 16 bytes of the window, and a window of
// start codes only: nothing is read past the end, nothing is found.
TEST_F(AbsurdPacket, StartCodesEverywhere) {
  Bytes stream;
  for (int i = 0; i < 50000; ++i) testing::Append(stream, {0x00, 0x00, 0x01, 0xBD});
  Outcome result = Analyse(stream, "codes.vob");
  EXPECT_EQ(result.status, 0) << Describe(result);
  EXPECT_LT(result.seconds, kQuickSeconds);
  EXPECT_EQ(FilledRows(Rows(result.out)), 0u);

  // L = 0xFFFF, H = 0 and an AC-3, DTS or LPCM sub-stream, the file ending
  // anywhere in the packet's first bytes.
  for (const std::uint8_t sub_stream : {0x80, 0x88, 0xA0}) {
    for (std::size_t size = 17; size <= 32; ++size) {
      Bytes tail(size - 17, 0x00);
      testing::Append(tail, {0x00, 0x00, 0x01, 0xBD, 0xFF, 0xFF, 0x81, 0x80, 0x00, sub_stream, 0x0B,
                             0x77, 0x7F, 0xFE, 0x80, 0x01, 0x0B});
      const std::string name = "tail" + std::to_string(sub_stream) + "_" + std::to_string(size) + ".vob";
      result = Analyse(tail, name);
      EXPECT_EQ(result.status, 0) << name << "\n" << Describe(result);
      EXPECT_EQ(Lines(result.out).size(), 12u) << name;
    }
  }
}

// ---------------------------------------------------------------------------
// Information files that are short, empty or folders.

class BadIfo : public ::testing::Test {
 protected:
  void SetUp() override {
    vob_ = dir_.File("VTS_01_1.VOB");
    fs::copy_file(kSampleDir + "/VTS_01_1.VOB", vob_);
    ifo_ = ReadBytes(kSampleDir + "/VTS_01_0.IFO");
  }
  std::vector<std::string> RowsWithIfo(std::size_t ifo_size) {
    dir_.Write("VTS_01_0.IFO", Bytes(ifo_.begin(), ifo_.begin() + static_cast<std::ptrdiff_t>(ifo_size)));
    const Outcome result = RunWithTable({"--lang", "en", vob_});
    EXPECT_EQ(result.status, 0) << Describe(result);
    EXPECT_EQ(result.err, "");
    return Rows(result.out);
  }
  ScratchDir dir_;
  std::string vob_;
  Bytes ifo_;
};

constexpr const char* kDtsRow = "DTS 768kbps 48000Hz L,C,R,SL,SR,LFE 16bit";
constexpr const char* kLpcmRow = "PCM 16bit 48000Hz stereo";
const std::string kAc3RowNoLanguage = "AC-3 448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM ";

// Bytes past the end of a short IFO read as zero: the entries there give
// "none" (no language part), an entry cut after its first code byte gives a
// one-letter code.
TEST_F(BadIfo, ShorterThanTheTable) {
  const auto whole = RowsWithIfo(ifo_.size());
  EXPECT_EQ(whole[0], "AC-3 448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM [English] ");
  EXPECT_EQ(whole[1], std::string(kDtsRow) + " [Japanese]");

  auto rows = RowsWithIfo(520);  // entry 0 whole up to its code
  EXPECT_EQ(rows[0], whole[0]);
  EXPECT_EQ(rows[1], kDtsRow);
  EXPECT_EQ(rows[2], kLpcmRow);

  rows = RowsWithIfo(519);  // entry 0 ends after "e"
  EXPECT_EQ(rows[0], "AC-3 448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM [e] ");

  for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{516}}) {
    rows = RowsWithIfo(size);
    EXPECT_EQ(rows[0], kAc3RowNoLanguage) << size;
    EXPECT_EQ(rows[1], kDtsRow) << size;
    EXPECT_EQ(rows[2], kLpcmRow) << size;
  }
}

// A folder named like the information file is not a regular file: the
// lookup passes over it and takes the .BUP, or reads no languages.
TEST_F(BadIfo, FolderNamedLikeTheIfo) {
  fs::create_directories(dir_.File("VTS_01_0.IFO"));
  Outcome result = RunWithTable({"--json", vob_});
  EXPECT_EQ(result.status, 0) << Describe(result);
  auto doc = nlohmann::json::parse(result.out);
  EXPECT_TRUE(doc[0]["ifo"].is_null());
  EXPECT_EQ(doc[0]["rows"][0]["kind_text"], kAc3RowNoLanguage);

  const std::string backup = dir_.Write("VTS_01_0.BUP", ifo_);
  result = RunWithTable({"--json", vob_});
  EXPECT_EQ(result.status, 0) << Describe(result);
  doc = nlohmann::json::parse(result.out);
  EXPECT_EQ(doc[0]["ifo"], backup);
  EXPECT_EQ(doc[0]["rows"][0]["kind_text"], "AC-3 448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM [英語] ");
}

// ---------------------------------------------------------------------------
// Broken language tables.

class BadTable : public ::testing::Test {
 protected:
  void SetUp() override {
    vob_ = dir_.File("VTS_01_1.VOB");
    fs::copy_file(kSampleDir + "/VTS_01_1.VOB", vob_);
    // Codes so, ja, fr: ソ and 表 are 83 5C and 95 5C in CP932, with a trail
    // byte that is a backslash on its own.
    dir_.Write("VTS_01_0.IFO", testing::IfoWithLanguages({"so", "ja", "fr"}));
  }
  Outcome WithTable(const std::string& table, const std::string& language = "ja") {
    return RunProgram({"--code-csv", table, "--lang", language, vob_});
  }
  ScratchDir dir_;
  std::string vob_;
};

TEST_F(BadTable, BinaryGarbageGivesTheCodes) {
  std::mt19937 random(20240601);
  std::string garbage(64 * 1024, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  const std::string table = dir_.File("garbage.csv");
  WriteText(table, garbage);
  const Outcome result = WithTable(table);
  EXPECT_EQ(result.status, 0) << Describe(result);
  EXPECT_EQ(result.err, "tonvika-cli: warning: " + table +
                            " names no language (no line of a code and its name); language codes are shown as they are\n");
  const auto rows = Rows(result.out);
  EXPECT_EQ(rows[0], kAc3RowNoLanguage + "[so] ");
  EXPECT_EQ(rows[1], std::string(kDtsRow) + " [ja]");
  EXPECT_EQ(rows[2], std::string(kLpcmRow) + " [fr]");
}

// A file that is no language table (a VOB named by mistake, an empty file)
// is read, and said to name no language: one warning, the codes as they are.
TEST_F(BadTable, ATableThatNamesNoLanguageIsAWarning) {
  for (const std::string& table : {vob_, dir_.Write("empty.csv", ""), dir_.Write("codes.csv", "so\nja\nfr\n")}) {
    const Outcome result = WithTable(table);
    EXPECT_EQ(result.status, 0) << Describe(result);
    EXPECT_EQ(result.err, "tonvika-cli: warning: " + table +
                              " names no language (no line of a code and its name); language codes are shown as they "
                              "are\n");
    EXPECT_EQ(Rows(result.out)[1], std::string(kDtsRow) + " [ja]") << table;
  }
  EXPECT_EQ(WithTable(dir_.Write("one.csv", "ja,Japanese,日本語\n")).err, "");
}

// No language table is larger than a few kilobytes: a big file is refused
// with a message before any file is analysed, at once and without reading
// it into memory. Up to 1 MiB is accepted.
TEST_F(BadTable, FiftyMegabytes) {
  const std::string line = "zz,Filler,埋め草\n";
  const std::string last = "fr,French,フランス語\n";
  std::string text;
  while (text.size() + line.size() + last.size() <= kMiB) text += line;
  text += last;
  const std::string limit = dir_.File("limit.csv");
  WriteText(limit, text);
  Outcome result = WithTable(limit);
  EXPECT_EQ(result.status, 0) << Describe(result);
  EXPECT_EQ(Rows(result.out)[2], std::string(kLpcmRow) + " [フランス語]");

  const std::string big = dir_.File("big.csv");
  {
    std::ofstream out(big, std::ios::binary);
    for (std::size_t written = 0; written < 50 * kMiB; written += line.size()) out << line;
  }
  result = WithTable(big);
  EXPECT_EQ(result.status, 2) << Describe(result);
  EXPECT_LT(result.seconds, kQuickSeconds);
  EXPECT_LT(result.max_rss_kb, kModestMemoryKb);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, ErrorLine(big, "too large for a language table (more than 1048576 bytes)"));
  fs::remove(big);
}

// A table saved in CP932 (Shift-JIS) gives the same names as in UTF-8.
TEST_F(BadTable, ShiftJisTable) {
  const std::string utf8 = dir_.File("utf8.csv");
  const std::string cp932 = dir_.File("cp932.csv");
  WriteText(utf8, "ja,Japanese,日本語\r\nso,Somali,ソマリ語\r\nen,English,英語\r\nfr,French,\"表 フランス語\"\r\n");
  const std::string convert = "iconv -f UTF-8 -t CP932 '" + utf8 + "' > '" + cp932 + "'";
  if (std::system(convert.c_str()) != 0) GTEST_SKIP() << "iconv cannot convert to CP932 here";
  ASSERT_NE(ReadText(cp932), ReadText(utf8));
  const Outcome from_utf8 = WithTable(utf8);
  const Outcome from_cp932 = WithTable(cp932);
  EXPECT_EQ(from_cp932.status, 0) << Describe(from_cp932);
  EXPECT_EQ(from_cp932.out, from_utf8.out);
  const auto rows = Rows(from_cp932.out);
  EXPECT_EQ(rows[0], kAc3RowNoLanguage + "[ソマリ語] ");
  EXPECT_EQ(rows[1], std::string(kDtsRow) + " [日本語]");
  EXPECT_EQ(rows[2], std::string(kLpcmRow) + " [表 フランス語]");
}

// ---------------------------------------------------------------------------
// File names.

class FileNames : public ::testing::Test {
 protected:
  std::string TitleSetIn(const std::string& folder) {
    fs::create_directories(dir_.Path() / folder);
    const std::string vob = dir_.File(folder + "/VTS_01_1.VOB");
    fs::copy_file(kSampleDir + "/VTS_01_1.VOB", vob);
    fs::copy_file(kSampleDir + "/VTS_01_0.IFO", dir_.File(folder + "/VTS_01_0.IFO"));
    return vob;
  }
  ScratchDir dir_;
};

const std::string kAc3RowEnglish = "AC-3 448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM [英語] ";

TEST_F(FileNames, JapaneseNames) {
  const std::string vob = TitleSetIn("映画");
  const std::string raw = dir_.File("音声.ac3");
  fs::copy_file(kFixtures + "/ac3_acmods/raw/ac3_48000_mono_32k.ac3", raw);
  const Outcome result = RunWithTable({vob, raw});
  EXPECT_EQ(result.status, 0) << Describe(result);
  const auto lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[0], vob);
  EXPECT_EQ(lines[4], "1 " + kAc3RowEnglish);
  EXPECT_EQ(lines[12], raw);

  const Outcome json = RunWithTable({"--json", vob, dir_.File("映画/無い.vob")});
  EXPECT_EQ(json.status, 2) << Describe(json);
  const auto doc = nlohmann::json::parse(json.out);
  EXPECT_EQ(doc[0]["path"], vob);
  EXPECT_EQ(doc[0]["ifo"], dir_.File("映画/VTS_01_0.IFO"));
  EXPECT_EQ(doc[1]["path"], dir_.File("映画/無い.vob"));
  EXPECT_EQ(json.err, ErrorLine(dir_.File("映画/無い.vob"), "No such file or directory"));
}

// Bytes that are not UTF-8 are a valid file name: the text output and the
// messages carry the name byte for byte; JSON, which must be UTF-8, shows
// each invalid byte as U+FFFD (documents stay in the order of the files).
TEST_F(FileNames, NamesThatAreNotUtf8) {
  const std::string vob = TitleSetIn("bad\xFF\xFE");
  const std::string raw = dir_.File("x\xFF\xFE.ac3");
  fs::copy_file(kFixtures + "/ac3_acmods/raw/ac3_48000_mono_32k.ac3", raw);
  const std::string missing = dir_.File("missing\xFF.vob");

  const Outcome text = RunWithTable({vob, raw, missing});
  EXPECT_EQ(text.status, 2) << Describe(text);
  const auto lines = Lines(text.out);
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[0], vob);
  EXPECT_EQ(lines[4], "1 " + kAc3RowEnglish);  // the IFO in that folder was read
  EXPECT_EQ(lines[12], raw);
  EXPECT_EQ(text.err, ErrorLine(missing, "No such file or directory"));

  const Outcome json = RunWithTable({"--json", vob, raw, missing});
  EXPECT_EQ(json.status, 2) << Describe(json);
  nlohmann::json doc;
  ASSERT_NO_THROW(doc = nlohmann::json::parse(json.out)) << json.out;
  ASSERT_EQ(doc.size(), 3u);
  const std::string replaced = "\xEF\xBF\xBD\xEF\xBF\xBD";  // two U+FFFD
  EXPECT_EQ(doc[0]["path"], dir_.File("bad" + replaced + "/VTS_01_1.VOB"));
  EXPECT_EQ(doc[0]["ifo"], dir_.File("bad" + replaced + "/VTS_01_0.IFO"));
  EXPECT_EQ(doc[0]["rows"][0]["kind_text"], kAc3RowEnglish);
  EXPECT_EQ(doc[1]["path"], dir_.File("x" + replaced + ".ac3"));
  EXPECT_EQ(doc[2]["path"], dir_.File("missing\xEF\xBF\xBD.vob"));
  EXPECT_TRUE(doc[2].contains("error"));
}

}  // namespace
}  // namespace tonvika::cli
