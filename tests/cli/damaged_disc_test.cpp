// tonvika-cli on discs made odd or damaged in the test from the fixture disc:
// files that are no regular files, images cut short, titles without a
// length, damaged cell tables. Each gives a clear message and its status at
// once, and nothing is reported as read that was not.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/run_program.h"
#include "io/dvd_reader.h"
#include "support/scratch_dir.h"

namespace tonvika::testing {
namespace {

namespace fs = std::filesystem;

const std::string kFixtures = TONVIKA_FIXTURES;
const std::string kFolder = kFixtures + "/disc/three_title_sets";
const std::string kImage = kFixtures + "/disc/three_title_sets.iso";
const std::string kTable = std::string(TONVIKA_SOURCE_DIR) + "/data/code.csv";

struct TimedRun {
  ProgramResult result;
  double seconds = 0;
};

// `prefix... tonvika-cli --code-csv TABLE args...` in `dir`, ended after 10 s
// should it block (timeout gives 124).
TimedRun Cli(const std::string& dir, std::vector<std::string> args, const std::vector<std::string>& prefix = {}) {
  args.insert(args.begin(), {"--code-csv", kTable});
  args.insert(args.begin(), TONVIKA_CLI);
  args.insert(args.begin(), prefix.begin(), prefix.end());
  args.insert(args.begin(), "10");
  const auto start = std::chrono::steady_clock::now();
  TimedRun run{RunProgram("/usr/bin/timeout", args, dir)};
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return run;
}

std::string Describe(const ProgramResult& result) {
  return "status " + std::to_string(result.status) + "\nstdout:\n" + result.out + "\nstderr:\n" + result.err;
}

std::vector<std::uint8_t> Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, std::size_t size) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(size));
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// A FIFO without a writer would block libdvdread's open for good; a folder
// would read as an empty VOB. Each is refused at once, and only its title
// set (or the disc, for VIDEO_TS.IFO) is skipped.
TEST(DamagedDisc, FilesThatAreNoRegularFilesNeitherBlockNorPass) {
  const auto fifo = [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); };
  const auto folder = [](const std::string& path) { fs::create_directory(path); };
  const struct {
    const char* entry;
    std::function<void(const std::string&)> make;
    const char* message;
    std::size_t blocks;
  } cases[] = {
      {"VIDEO_TS.IFO", fifo, "tonvika-cli: disc: disc/VIDEO_TS/VIDEO_TS.IFO: not a regular file\n", 0},
      {"VTS_01_1.VOB", fifo, "tonvika-cli: disc/VIDEO_TS/VTS_01_1.VOB: not a regular file (title set 1 skipped)\n", 2},
      {"VTS_01_1.VOB", folder, "tonvika-cli: disc/VIDEO_TS/VTS_01_1.VOB: not a regular file (title set 1 skipped)\n", 2},
      {"VTS_02_2.VOB", fifo, "tonvika-cli: disc/VIDEO_TS/VTS_02_2.VOB: not a regular file (title set 2 skipped)\n", 2},
      {"VTS_03_0.IFO", fifo, "tonvika-cli: disc/VIDEO_TS/VTS_03_0.IFO: not a regular file (title set 3 skipped)\n", 2},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    fs::copy(kFolder, dir.File("disc"), fs::copy_options::recursive);
    fs::remove(dir.File("disc/VIDEO_TS/") + c.entry);
    c.make(dir.File("disc/VIDEO_TS/") + c.entry);
    const TimedRun run = Cli(dir.Path().string(), {"disc"});
    EXPECT_EQ(run.result.status, 2) << c.entry << "\n" << Describe(run.result);
    EXPECT_EQ(Count(run.result.err, c.message), 1u) << Describe(run.result);
    EXPECT_EQ(Count(run.result.out, "----------\nList\n"), c.blocks) << c.entry;
    EXPECT_LT(run.seconds, 1.0) << c.entry;
  }
}

class CutImage : public ::testing::Test {
 protected:
  void SetUp() override {
    image_ = Bytes(kImage);
    const DvdReader disc(kImage);
    vts_02_start_ = disc.FindInImage("VTS_02_1.VOB")->start;
    vts_01_start_ = disc.FindInImage("VTS_01_1.VOB")->start;
  }
  std::string Cut(std::size_t size) {
    const std::string name = "cut" + std::to_string(size) + ".iso";
    WriteBytes(dir_.File(name), image_, size);
    return name;
  }
  TimedRun CliHere(const std::vector<std::string>& args) { return Cli(dir_.Path().string(), args); }

  ScratchDir dir_;
  std::vector<std::uint8_t> image_;
  std::uint64_t vts_01_start_ = 0;
  std::uint64_t vts_02_start_ = 0;
};

// Cut where VTS_02_1.VOB begins: title set 2 has not one byte, and is
// reported and skipped like a missing VOB.
TEST_F(CutImage, NothingOfTheTitleSetIsReportedAndSkipped) {
  const std::string cut = Cut(vts_02_start_);
  const TimedRun run = CliHere({"--title-set", "2", cut});
  EXPECT_EQ(run.result.status, 2) << Describe(run.result);
  EXPECT_EQ(run.result.out, "");
  EXPECT_EQ(run.result.err, "tonvika-cli: " + cut + ":/VIDEO_TS/VTS_02_1.VOB (title 2): the image ends at 909,312 "
                            "bytes; VTS_02_1.VOB needs 6,144 bytes from 909,312: none of the 559,104 bytes of the "
                            "read window could be read (title set 2 skipped)\n");
  const auto documents = nlohmann::json::parse(CliHere({"--json", "--title-set", "2", cut}).result.out);
  ASSERT_EQ(documents.size(), 1u);
  EXPECT_EQ(documents[0]["title_set"], 2);
  EXPECT_NE(documents[0]["error"].get<std::string>().find("the image ends at 909,312 bytes"), std::string::npos);
}

// Cut inside title set 1's VOB: what was read is shown, the note says it
// is partial, and nothing claims the whole source.
TEST_F(CutImage, PartOfTheWindowIsShownAndSaidToBePartial) {
  const std::string cut = Cut(vts_01_start_ + 100 * 2048);
  const TimedRun run = CliHere({"--title-set", "1", cut});
  EXPECT_EQ(run.result.status, 2) << Describe(run.result);
  EXPECT_EQ(run.result.out.rfind(cut + ":/VIDEO_TS/VTS_01_1.VOB (title 1)\n----------\nList\n", 0), 0u) << run.result.out;
  EXPECT_NE(run.result.err.find(": the image ends at 858,112 bytes; VTS_01_1.VOB needs 231,424 bytes from 653,312: only "
                                "the first 204,800 of the 231,424 bytes of the read window could be read"),
            std::string::npos)
      << run.result.err;
  const auto documents = nlohmann::json::parse(CliHere({"--json", "--title-set", "1", cut}).result.out);
  const auto& notes = documents.at(0).at("notes");
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes[0]["code"], "short-read");
  EXPECT_EQ(notes[0]["stream_id"], nullptr);
  EXPECT_EQ(Count(documents.dump(), "whole source"), 0u);
}

// Images cut anywhere: never a quiet success.
TEST_F(CutImage, AnyCutGivesStatusTwoAtOnce) {
  for (const int percent : {10, 50, 90, 99}) {
    const TimedRun run = CliHere({Cut(image_.size() * static_cast<std::size_t>(percent) / 100)});
    EXPECT_EQ(run.result.status, 2) << percent << "%\n" << Describe(run.result);
    EXPECT_LT(run.seconds, 1.0) << percent << "%";
  }
}

// Every title of the disc's table names title set 9, which the disc does
// not have: no title has a length, and --main says which title set it takes.
TEST(DamagedDisc, MainWithoutAKnownLengthSaysWhatItTakes) {
  ScratchDir dir;
  fs::copy(kFolder, dir.File("disc"), fs::copy_options::recursive);
  for (const char* name : {"disc/VIDEO_TS/VIDEO_TS.IFO", "disc/VIDEO_TS/VIDEO_TS.BUP"}) {
    std::vector<std::uint8_t> ifo = Bytes(dir.File(name));
    const std::size_t table = (std::size_t{ifo[0xC4]} << 24 | ifo[0xC5] << 16 | ifo[0xC6] << 8 | ifo[0xC7]) * 2048;
    const std::size_t titles = std::size_t{ifo[table]} << 8 | ifo[table + 1];
    constexpr std::size_t kEntry = 12;
    constexpr std::size_t kTitleSetByte = 6;
    for (std::size_t n = 0; n < titles; ++n) ifo[table + 8 + n * kEntry + kTitleSetByte] = 9;
    WriteBytes(dir.File(name), ifo, ifo.size());
  }
  const TimedRun run = Cli(dir.Path().string(), {"--main", "disc"});
  EXPECT_EQ(run.result.status, 0) << Describe(run.result);
  EXPECT_EQ(run.result.out.rfind("disc/VIDEO_TS/VTS_01_1.VOB\n", 0), 0u) << run.result.out;
  EXPECT_EQ(run.result.err.rfind("tonvika-cli: disc: no title of the disc has a known length; --main takes title set 1\n", 0),
            0u)
      << run.result.err;
}

// One changed byte can set a PES header's scrambling bits in a plain VOB:
// the packet is skipped and counted, but one stray flag says nothing of
// encryption.
TEST(DamagedDisc, OneStrayScramblingFlagIsNoEncryption) {
  ScratchDir dir;
  fs::copy(kFolder, dir.File("disc"), fs::copy_options::recursive);
  const std::string vob = dir.File("disc/VIDEO_TS/VTS_02_2.VOB");
  std::vector<std::uint8_t> bytes = Bytes(vob);
  constexpr std::uint8_t kPrivateStream1[] = {0x00, 0x00, 0x01, 0xBD};
  const auto packet = std::search(bytes.begin(), bytes.end(), std::begin(kPrivateStream1), std::end(kPrivateStream1));
  ASSERT_NE(packet, bytes.end());
  const std::size_t at = static_cast<std::size_t>(packet - bytes.begin());
  const int sub_stream = bytes[at + 9 + bytes[at + 8]];
  bytes[at + 6] |= 0x10;  // PES_scrambling_control 01
  WriteBytes(vob, bytes, bytes.size());

  const TimedRun run = Cli(dir.Path().string(), {"--json", "--title-set", "2", "disc"});
  EXPECT_EQ(run.result.status, 0) << Describe(run.result);
  const auto document = nlohmann::json::parse(run.result.out).at(0);
  for (const auto& note : document.at("notes")) EXPECT_NE(note["code"], "scrambled") << note.dump();
  int flagged = 0;
  for (const auto& stream : document.at("streams")) {
    if (stream["stream_id"] == sub_stream) flagged = stream["scrambled_packets"];
  }
  EXPECT_EQ(flagged, 1) << "sub-stream " << sub_stream;
}

// Two search pointers naming one program chain past the end of the file:
// libdvdread reads it once, fails, and takes the null chain for the second
// (a crash, found by disc_fuzz). The title set is refused before that.
TEST(DamagedDisc, AChainNamedTwiceThatCannotBeReadIsRefused) {
  ScratchDir dir;
  fs::copy(kFolder, dir.File("disc"), fs::copy_options::recursive);
  for (const char* name : {"disc/VIDEO_TS/VTS_01_0.IFO", "disc/VIDEO_TS/VTS_01_0.BUP"}) {
    std::vector<std::uint8_t> ifo = Bytes(dir.File(name));
    const std::size_t table = (std::size_t{ifo[0xCC]} << 24 | ifo[0xCD] << 16 | ifo[0xCE] << 8 | ifo[0xCF]) * 2048;
    ifo[table + 1] = 2;  // two search pointers, both to a chain at 15 MB
    for (const std::size_t start : {table + 12, table + 20}) {
      constexpr std::uint8_t kOutside[] = {0x00, 0xF0, 0x00, 0x00};
      std::copy(std::begin(kOutside), std::end(kOutside), ifo.begin() + static_cast<std::ptrdiff_t>(start));
    }
    WriteBytes(dir.File(name), ifo, ifo.size());
  }
  const TimedRun run = Cli(dir.Path().string(), {"disc"});
  EXPECT_EQ(run.result.status, 2) << Describe(run.result);
  EXPECT_NE(run.result.err.find("tonvika-cli: disc/VIDEO_TS/VTS_01_0.IFO: cannot be read, nor its backup (title set 1 "
                                "skipped)\n"),
            std::string::npos)
      << run.result.err;
  EXPECT_EQ(Count(run.result.out, "----------\nList\n"), 2u);
}

// A cell address table claiming 1.2 GB: libdvdread's ifoOpen reserves that
// much and more, and fails on it. Only the tables the program reads are
// read, so the title set is analysed within 256 MB of address space.
TEST(DamagedDisc, ADamagedCellTableCostsNoMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer's shadow memory needs more address space than the limit";
#endif
  ScratchDir dir;
  fs::copy(kFolder, dir.File("disc"), fs::copy_options::recursive);
  for (const char* name : {"disc/VIDEO_TS/VTS_01_0.IFO", "disc/VIDEO_TS/VTS_01_0.BUP"}) {
    std::vector<std::uint8_t> ifo = Bytes(dir.File(name));
    // The cell address table and the VOBU address map; each says where it ends.
    for (const std::size_t pointer : {0xE0, 0xE4}) {
      const std::size_t table = (std::size_t{ifo[pointer]} << 24 | ifo[pointer + 1] << 16 | ifo[pointer + 2] << 8 |
                                 ifo[pointer + 3]) * 2048;
      ASSERT_GT(table, 0u);
      constexpr std::uint8_t kLastByte[] = {0x4A, 0xFF, 0xFF, 0xFF};
      std::copy(std::begin(kLastByte), std::end(kLastByte), ifo.begin() + static_cast<std::ptrdiff_t>(table + 4));
    }
    WriteBytes(dir.File(name), ifo, ifo.size());
  }
  if (!fs::exists("/usr/bin/prlimit")) GTEST_SKIP() << "prlimit is not installed";
  const TimedRun run = Cli(dir.Path().string(), {"--title-set", "1", "disc"}, {"/usr/bin/prlimit", "--as=268435456", "--"});
  EXPECT_EQ(run.result.status, 0) << Describe(run.result);
  EXPECT_EQ(run.result.out.rfind("disc/VIDEO_TS/VTS_01_1.VOB (title 1)\n", 0), 0u) << run.result.out;
}

}  // namespace
}  // namespace tonvika::testing
