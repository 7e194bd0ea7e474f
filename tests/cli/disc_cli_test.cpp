// tonvika-cli on whole discs: the title-set options, discs that cannot be
// read and title sets that are skipped, with the real program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/run_program.h"
#include "support/scratch_dir.h"

namespace tonvika::testing {
namespace {

namespace fs = std::filesystem;

const std::string kFixtures = TONVIKA_FIXTURES;
const std::string kFolder = kFixtures + "/disc/three_title_sets";
const std::string kImage = kFixtures + "/disc/three_title_sets.iso";
const std::string kTable = std::string(TONVIKA_SOURCE_DIR) + "/data/code.csv";

ProgramResult Cli(std::vector<std::string> args) {
  args.insert(args.begin(), {"--code-csv", kTable});
  return RunProgram(TONVIKA_CLI, args, kFixtures);
}

// The path lines of the list reports in a text output.
std::vector<std::string> Blocks(const std::string& out) {
  std::vector<std::string> paths;
  std::size_t at = 0;
  while (at < out.size()) {
    const std::size_t end = out.find('\n', at);
    const std::string line = out.substr(at, end - at);
    if (out.compare(end + 1, 11, "----------\n") == 0 && out.compare(end + 12, 5, "List\n") == 0) {
      paths.push_back(line);
    }
    at = end + 1;
  }
  return paths;
}

// The first line of an image's block: each title set of three_title_sets
// holds one title, of its own number.
std::string VobOf(const std::string& source, int title_set, int title = 0) {
  return source + ":/VIDEO_TS/VTS_0" + std::to_string(title_set) + "_1.VOB (title " +
         std::to_string(title == 0 ? title_set : title) + ")";
}

TEST(DiscCli, TitleSetAndMainChooseTheBlocks) {
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> blocks;
  } cases[] = {
      {{kImage}, {VobOf(kImage, 1), VobOf(kImage, 2), VobOf(kImage, 3)}},
      {{"--title-set", "3", kImage}, {VobOf(kImage, 3)}},
      {{"--title-set=1", kImage}, {VobOf(kImage, 1)}},
      {{"--main", kImage}, {VobOf(kImage, 2)}},
      {{"--main", kFolder, kImage}, {kFolder + "/VIDEO_TS/VTS_02_1.VOB (title 2)", VobOf(kImage, 2)}},
  };
  for (const auto& c : cases) {
    const ProgramResult result = Cli(c.args);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "") << "libdvdread's own messages stay off standard error";
    EXPECT_EQ(Blocks(result.out), c.blocks) << ::testing::PrintToString(c.args);
  }
}

TEST(DiscCli, TheTitleSetOptionsLeaveAFileAsItIs) {
  const std::string vob = kFolder + "/VIDEO_TS/VTS_01_1.VOB";
  const ProgramResult plain = Cli({vob});
  ASSERT_EQ(plain.status, 0);
  for (const char* option : {"--main", "--title-set=2", "--all-titles", "--title=2"}) {
    const ProgramResult result = Cli({option, vob});
    EXPECT_EQ(result.status, 0) << option;
    EXPECT_EQ(result.out, plain.out) << option;
  }
  EXPECT_EQ(Cli({"--main", "--title-set", "1", kImage}).status, 64);
  EXPECT_EQ(Cli({"--title-set", "0", kImage}).status, 64);
  EXPECT_EQ(Cli({"--title-set", "100", kImage}).status, 64);
}

// Title set 1: a trailer (title 1) before the feature (title 2); title set
// 2: title 3.
const std::string kTitles = kFixtures + "/disc/titles_by_chain.iso";

TEST(DiscCli, TitleAndAllTitlesChooseTheTitles) {
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> blocks;
  } cases[] = {
      {{kTitles}, {VobOf(kTitles, 1, 2), VobOf(kTitles, 2, 3)}},
      {{"--all-titles", kTitles}, {VobOf(kTitles, 1, 1), VobOf(kTitles, 1, 2), VobOf(kTitles, 2, 3)}},
      {{"--all-titles", "--main", kTitles}, {VobOf(kTitles, 1, 1), VobOf(kTitles, 1, 2)}},
      {{"--all-titles", "--title-set", "2", kTitles}, {VobOf(kTitles, 2, 3)}},
      {{"--title", "1", kTitles}, {VobOf(kTitles, 1, 1)}},
      {{"--title=3", kTitles, kImage}, {VobOf(kTitles, 2, 3), VobOf(kImage, 3)}},
  };
  for (const auto& c : cases) {
    const ProgramResult result = Cli(c.args);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Blocks(result.out), c.blocks) << ::testing::PrintToString(c.args);
  }
  const ProgramResult missing = Cli({"--title", "4", kTitles});
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err, "tonvika-cli: " + kTitles + ": no title 4 (the disc has 3)\n");
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--title", "1", "--main", kTitles},
                                               {"--title", "1", "--all-titles", kTitles},
                                               {"--title", "1", "--title-set", "1", kTitles},
                                               {"--title", "0", kTitles},
                                               {"--title", "100", kTitles},
                                               {"--title", kTitles}}) {
    EXPECT_EQ(Cli(args).status, 64) << ::testing::PrintToString(args);
  }
}

TEST(DiscCli, JsonNamesTheTitleAndListsEveryTitle) {
  const ProgramResult result = Cli({"--json", "--title", "1", kTitles});
  ASSERT_EQ(result.status, 0) << result.err;
  const auto documents = nlohmann::json::parse(result.out);
  ASSERT_EQ(documents.size(), 1u);
  const auto& title = documents[0];
  EXPECT_EQ(title["title"], 1);
  EXPECT_EQ(title["title_set"], 1);
  EXPECT_EQ(title["title_length_s"], 1.033);  // the trailer's length, not the title set's longest
  EXPECT_EQ(title["path"], kTitles + ":/VIDEO_TS/VTS_01_1.VOB");
  EXPECT_EQ(title["list_report"][0], VobOf(kTitles, 1, 1));
  ASSERT_EQ(title["titles"].size(), 3u);
  const int expected[][5] = {{1, 1, 1, 1, 1}, {2, 1, 1, 1, 1}, {3, 2, 2, 2, 1}};  // title, set, chapters, cells, angles
  for (std::size_t n = 0; n < 3; ++n) {
    const auto& t = title["titles"][n];
    EXPECT_EQ((std::vector<int>{t["title"], t["title_set"], t["chapters"], t["cells"], t["angles"]}),
              std::vector<int>(std::begin(expected[n]), std::end(expected[n])));
  }
  EXPECT_EQ(title["titles"][1]["length_s"], 3.0);
}

TEST(DiscCli, SourcesThatAreNoDiscAreReportedLikeFilesThatCannotBeOpened) {
  ScratchDir dir;
  fs::create_directory(dir.File("no_video_ts"));
  dir.Write("no_video_ts/VTS_01_1.VOB", std::string_view("x"));
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"disc/not_a_dvd.iso"},
       "tonvika-cli: disc/not_a_dvd.iso: no DVD-Video file system (VIDEO_TS.IFO cannot be read, nor its backup)\n"},
      {{dir.File("no_video_ts")}, "tonvika-cli: " + dir.File("no_video_ts") + ": no VIDEO_TS folder in it\n"},
      {{"--title-set", "4", kImage}, "tonvika-cli: " + kImage + ": no title set 4 (the disc has 3)\n"},
  };
  for (const auto& c : cases) {
    const ProgramResult result = Cli(c.args);
    EXPECT_EQ(result.status, 2) << ::testing::PrintToString(c.args);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, c.message);
  }
  const ProgramResult json = Cli({"--json", "disc/not_a_dvd.iso"});
  EXPECT_EQ(json.status, 2);
  const auto documents = nlohmann::json::parse(json.out);
  ASSERT_EQ(documents.size(), 1u);
  EXPECT_EQ(documents[0]["path"], "disc/not_a_dvd.iso");
  EXPECT_NE(documents[0]["error"].get<std::string>().find("no DVD-Video file system"), std::string::npos);
}

TEST(DiscCli, ATitleSetWithoutItsVobIsSkippedAndTheOthersAnalysed) {
  ScratchDir dir;
  fs::copy(kFolder, dir.File("disc"), fs::copy_options::recursive);
  const std::string video_ts = dir.File("disc/VIDEO_TS");
  fs::remove(video_ts + "/VTS_02_1.VOB");
  fs::remove(video_ts + "/VTS_02_2.VOB");

  const ProgramResult result = Cli({dir.File("disc"), kFolder + "/VIDEO_TS/VTS_01_1.VOB"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "tonvika-cli: " + video_ts + "/VTS_02_1.VOB: No such file or directory (title set 2 skipped)\n");
  EXPECT_EQ(Blocks(result.out), (std::vector<std::string>{video_ts + "/VTS_01_1.VOB (title 1)",
                                                          video_ts + "/VTS_03_1.VOB (title 3)",
                                                          kFolder + "/VIDEO_TS/VTS_01_1.VOB"}));

  const ProgramResult json = Cli({"--json", dir.File("disc")});
  EXPECT_EQ(json.status, 2);
  const auto documents = nlohmann::json::parse(json.out);
  ASSERT_EQ(documents.size(), 3u);
  EXPECT_EQ(documents[1]["title_set"], 2);
  EXPECT_EQ(documents[1]["main_feature"], true);
  EXPECT_EQ(documents[1]["error"], video_ts + "/VTS_02_1.VOB: No such file or directory");
  EXPECT_FALSE(documents[1].contains("slots"));
  EXPECT_EQ(documents[2]["slots"][2]["language_code"], "zh");
}

TEST(DiscCli, ALowerCaseFolderAndItsNamesOnDisk) {
  ScratchDir dir;
  fs::create_directory(dir.File("disc"));
  fs::create_directory(dir.File("disc/video_ts"));
  for (const auto& entry : fs::directory_iterator(kFolder + "/VIDEO_TS")) {
    std::string name = entry.path().filename().string();
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    fs::copy_file(entry.path(), dir.File("disc/video_ts/" + name));
  }
  const ProgramResult lower = Cli({"--main", dir.File("disc")});
  const ProgramResult upper = Cli({"--main", kFolder});
  ASSERT_EQ(lower.status, 0) << lower.err;
  EXPECT_EQ(Blocks(lower.out), (std::vector<std::string>{dir.File("disc/video_ts/vts_02_1.vob") + " (title 2)"}));
  // Apart from the path line, the same tracks and languages.
  EXPECT_EQ(lower.out.substr(lower.out.find('\n')), upper.out.substr(upper.out.find('\n')));
}

}  // namespace
}  // namespace tonvika::testing
