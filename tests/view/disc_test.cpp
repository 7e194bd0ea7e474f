#include "analysis/disc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "analysis/vob_file_source.h"
#include "io/file_error.h"
#include "view/track_slots.h"
#include "view/window_run.h"
#include "support/scratch_dir.h"

namespace tonvika {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;

const std::string kFixtures = TONVIKA_FIXTURES;
const std::string kFolder = kFixtures + "/disc/three_title_sets";
const std::string kImage = kFixtures + "/disc/three_title_sets.iso";
// Title set 1: a trailer (title 1) before the feature (title 2); title set
// 2: one title that plays its second stored cell first (make_fixtures.sh).
const std::string kTitlesFolder = kFixtures + "/disc/titles_by_chain";
const std::string kTitlesImage = kFixtures + "/disc/titles_by_chain.iso";

// The window's part of a run, kept for the checks.
class DiscHost : public RunHost {
 public:
  LanguageTable table = ParseLanguageTable("de,German,ドイツ語\nfr,French,フランス語\nes,Spanish,スペイン語\n");
  TrackSlots slots;
  std::array<std::string, 2> status;

  std::string FilePath() override { return {}; }
  int ReadSizeMegabytes() override { return 5; }
  DisplayLanguage Language() override { return DisplayLanguage::English; }
  const LanguageTable& Languages() override { return table; }
  TrackSlots& Slots() override { return slots; }
  void SetStatus(int panel, const std::string& text) override { status.at(panel) = text; }
  void SetCommandsEnabled(bool) override {}
  void ProcessPendingEvents() override {}
};

// The window's run over title set `number` of the disc.
AnalysisReport AnalyseTitleSet(const Disc& disc, RunHost& host, int number) {
  const auto source = disc.OpenTitleSet(number);
  return AnalyseVideoObject(host, disc.Find(number)->paths.vob, *source);
}

// A copy of the fixture folder that a test may change.
std::string CopyFolder(const ScratchDir& dir, const std::string& name = "disc") {
  fs::copy(kFolder, dir.File(name), fs::copy_options::recursive);
  return dir.File(name);
}

void Overwrite(const std::string& path) { std::ofstream(path, std::ios::binary) << "damaged"; }

TEST(Disc, TitleSetsLengthsAndTheMainFeature) {
  for (const auto& [source, kind] : {std::pair{kFolder, SourceKind::Folder}, std::pair{kImage, SourceKind::Image}}) {
    const Disc disc(source, kind);
    ASSERT_EQ(disc.TitleSets().size(), 3u) << source;
    EXPECT_EQ(disc.MainFeature(), 2);
    const double lengths[] = {1.0 + 1.0 / 30, 3.0, 1.5};  // dvdauthor counts one frame more in the first
    for (const TitleSet& set : disc.TitleSets()) {
      ASSERT_TRUE(set.longest_title_s.has_value());
      EXPECT_DOUBLE_EQ(*set.longest_title_s, lengths[set.number - 1]) << set.number;
      EXPECT_EQ(set.main_feature, set.number == 2);
      EXPECT_TRUE(set.tables_readable);
    }
  }
  EXPECT_EQ(Disc(kImage, SourceKind::Image).Find(3)->paths.vob, kImage + ":/VIDEO_TS/VTS_03_1.VOB");
  EXPECT_EQ(Disc(kFolder, SourceKind::Folder).Find(3)->paths.backup, kFolder + "/VIDEO_TS/VTS_03_0.BUP");
  EXPECT_EQ(Disc(kFolder, SourceKind::Folder).Find(4), nullptr);
}

// Title set 2's title VOB is two files: the AC-3 track of slot 2 is
// complete only in the second.
TEST(Disc, ATitleSetIsAVideoObjectRunOverItsTitleVobs) {
  for (const auto& [source, kind, vob, ifo] :
       {std::tuple{kFolder, SourceKind::Folder, kFolder + "/VIDEO_TS/VTS_02_1.VOB", kFolder + "/VIDEO_TS/VTS_02_0.IFO"},
        std::tuple{kImage, SourceKind::Image, kImage + ":/VIDEO_TS/VTS_02_1.VOB", kImage + ":/VIDEO_TS/VTS_02_0.IFO"}}) {
    const Disc disc(source, kind);
    DiscHost host;
    const AnalysisReport outcome = AnalyseTitleSet(disc, host, 2);
    EXPECT_TRUE(outcome.changed);
    EXPECT_EQ(outcome.ifo_path, ifo);
    EXPECT_EQ(host.status[1], ifo);
    EXPECT_EQ(host.slots.ListReport().front(), vob);
    EXPECT_EQ(host.slots.KindText(0), "DTS 768kbps 48000Hz L,C,R,SL,SR,LFE 16bit [German]");
    EXPECT_EQ(host.slots.KindText(1), "AC-3 192kbps 48000Hz 2ch(2/0) L,R CM [French] ");
    EXPECT_EQ(host.slots.ListedSlotMask(), 0x03);
  }
}

TEST(Disc, WithoutVideoTsOrWithoutTablesTheSourceCannotBeOpened) {
  ScratchDir dir;
  fs::create_directory(dir.File("empty"));
  const std::string no_manager = CopyFolder(dir);
  Overwrite(no_manager + "/VIDEO_TS/VIDEO_TS.IFO");
  Overwrite(no_manager + "/VIDEO_TS/VIDEO_TS.BUP");
  const struct {
    std::string source;
    SourceKind kind;
    std::string reason;
  } cases[] = {
      {dir.File("empty"), SourceKind::Folder, "no VIDEO_TS folder in it"},
      {kFixtures + "/disc/not_a_dvd.iso", SourceKind::Image, "VIDEO_TS.IFO cannot be read"},
      {no_manager, SourceKind::Folder, "VIDEO_TS.IFO cannot be read"},
      {dir.File("missing.iso"), SourceKind::Image, "No such file or directory"},
  };
  for (const auto& c : cases) {
    try {
      Disc disc(c.source, c.kind);
      ADD_FAILURE() << c.source << " opened";
    } catch (const FileError& e) {
      EXPECT_EQ(e.path(), c.source);
      EXPECT_NE(e.reason().find(c.reason), std::string::npos) << e.reason();
    }
  }
}

TEST(Disc, ADamagedOrIncompleteTitleSetFailsAloneAndChangesNothing) {
  ScratchDir dir;
  const std::string folder = CopyFolder(dir);
  Overwrite(folder + "/VIDEO_TS/VTS_01_0.IFO");
  Overwrite(folder + "/VIDEO_TS/VTS_01_0.BUP");
  fs::remove(folder + "/VIDEO_TS/VTS_03_1.VOB");
  Overwrite(folder + "/VIDEO_TS/VTS_02_0.IFO");  // its backup stands in for it

  const Disc disc(folder, SourceKind::Folder);
  EXPECT_FALSE(disc.Find(1)->tables_readable);
  EXPECT_EQ(disc.MainFeature(), 2);
  for (const auto& [number, failing] : {std::pair{1, "/VIDEO_TS/VTS_01_0.IFO"}, std::pair{3, "/VIDEO_TS/VTS_03_1.VOB"}}) {
    DiscHost host;
    host.slots.SetListedSlotMask(0x80);
    try {
      AnalyseTitleSet(disc, host, number);
      ADD_FAILURE() << "title set " << number << " was analysed";
    } catch (const FileError& e) {
      EXPECT_EQ(e.path(), folder + failing);
    }
    EXPECT_EQ(host.slots.ListedSlotMask(), 0x80) << "title set " << number;
  }
  DiscHost host;
  EXPECT_EQ(AnalyseTitleSet(disc, host, 2).ifo_path, folder + "/VIDEO_TS/VTS_02_0.BUP");
  EXPECT_EQ(host.slots.KindText(1), "AC-3 192kbps 48000Hz 2ch(2/0) L,R CM [French] ");
}

TEST(Disc, ALowerCaseFolderIsReadAndNamedAsItIsOnDisk) {
  ScratchDir dir;
  const std::string folder = CopyFolder(dir, "lower");
  const auto lower = [](std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name;
  };
  for (const auto& entry : fs::directory_iterator(folder + "/VIDEO_TS")) {
    fs::rename(entry.path(), entry.path().parent_path() / lower(entry.path().filename().string()));
  }
  fs::rename(folder + "/VIDEO_TS", folder + "/video_ts");

  const Disc disc(folder, SourceKind::Folder);
  ASSERT_EQ(disc.TitleSets().size(), 3u);
  EXPECT_EQ(disc.MainFeature(), 2);
  DiscHost host;
  const AnalysisReport outcome = AnalyseTitleSet(disc, host, 3);
  EXPECT_EQ(outcome.ifo_path, folder + "/video_ts/vts_03_0.ifo");
  EXPECT_EQ(host.slots.ListReport().front(), folder + "/video_ts/vts_03_1.vob");
  EXPECT_EQ(host.slots.KindText(0), "AC-3 192kbps 48000Hz 2ch(2/0) L,R CM [Spanish] ");
}

const std::pair<std::string, SourceKind> kTitleDiscs[] = {{kTitlesFolder, SourceKind::Folder},
                                                           {kTitlesImage, SourceKind::Image}};

TEST(DiscTitles, NumberedAcrossTheDiscWithTheirChainsAndCells) {
  for (const auto& [source, kind] : kTitleDiscs) {
    const Disc disc(source, kind);
    struct Expected {
      int number, title_set, vts_ttn, program_chain;
      double seconds;
      int chapters, cells, angles;
    };
    // dvdauthor counts one frame more in a title set's first chain.
    const Expected expected[] = {{1, 1, 1, 1, 1 + 1.0 / 30, 1, 1, 1},
                                 {2, 1, 2, 2, 3.0, 1, 1, 1},
                                 {3, 2, 1, 1, 2 + 1.0 / 30, 2, 2, 1}};
    ASSERT_EQ(disc.Titles().size(), std::size(expected)) << source;
    for (const Expected& e : expected) {
      const DiscTitle* t = disc.FindTitle(e.number);
      ASSERT_NE(t, nullptr);
      EXPECT_EQ(std::tie(t->title_set, t->vts_ttn, t->program_chain, t->chapters, t->cells, t->angles),
                std::tie(e.title_set, e.vts_ttn, e.program_chain, e.chapters, e.cells, e.angles))
          << source << " title " << e.number;
      ASSERT_TRUE(t->seconds.has_value());
      EXPECT_DOUBLE_EQ(*t->seconds, e.seconds);
    }
    EXPECT_EQ(disc.FindTitle(4), nullptr);
    EXPECT_EQ(disc.MainFeature(), 1);
    EXPECT_EQ(disc.Find(1)->longest_title, 2);
    EXPECT_EQ(disc.Find(2)->longest_title, 3);
  }
}

// The VOB id and cell id in the DSI of the NAV pack that opens a window.
std::pair<int, int> FirstCellOf(std::span<const std::uint8_t> window) {
  constexpr std::size_t kDsi = 1031;
  EXPECT_TRUE(window.size() >= 2048 && window[1027] == 0xBF && window[1030] == 0x01) << "no NAV pack first";
  return {(window[kDsi + 24] << 8) | window[kDsi + 25], window[kDsi + 27]};
}

std::pair<int, int> FirstCellRead(VideoObjectSource& source) {
  std::vector<std::uint8_t> window(4096);
  EXPECT_EQ(source.ReadWindow(window), window.size());
  return FirstCellOf(window);
}

TEST(DiscTitles, TheWindowStartsWithTheCellTheChainPlaysFirst) {
  // Title 2 is the title set's second VOB; title 3 plays its second VOB's
  // cell (VOB 2, cell 1) before the first's.
  const struct {
    int title;
    std::pair<int, int> cell;
  } cases[] = {{1, {1, 1}}, {2, {2, 1}}, {3, {2, 1}}};
  for (const auto& [source, kind] : kTitleDiscs) {
    const Disc disc(source, kind);
    for (const auto& c : cases) {
      const auto title = disc.OpenTitle(c.title);
      EXPECT_EQ(FirstCellRead(*title), c.cell) << source << " title " << c.title;
    }
    EXPECT_EQ(FirstCellRead(*disc.OpenTitleSet(1)), std::pair(2, 1)) << "through its longest title";
  }
  // The VOB read as a file begins with what it stores first.
  VobFileSource vob(kTitlesFolder + "/VIDEO_TS/VTS_02_1.VOB");
  vob.Size();
  EXPECT_EQ(FirstCellRead(vob), std::pair(1, 1));
}

TEST(DiscTitles, LanguagesFollowTheTitlesOwnChain) {
  // Title 1's chain plays entry 1 [ja] from stream 0 and leaves entry 0 out;
  // title 2's plays entry n from stream n.
  const struct {
    int title;
    std::vector<std::string> kinds;
  } cases[] = {
      {1, {"AC-3 192kbps 48000Hz 2ch(2/0) L,R CM [ja] "}},
      {2, {"AC-3 448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM [en] ", "AC-3 192kbps 48000Hz 2ch(2/0) L,R CM [ja] "}},
  };
  for (const auto& [source, kind] : kTitleDiscs) {
    const Disc disc(source, kind);
    for (const auto& c : cases) {
      DiscHost host;
      const auto title = disc.OpenTitle(c.title);
      const AnalysisReport outcome = AnalyseVideoObject(host, "label", *title);
      for (std::size_t slot = 0; slot < c.kinds.size(); ++slot) {
        EXPECT_EQ(host.slots.KindText(static_cast<int>(slot)), c.kinds[slot]) << source << " title " << c.title;
      }
      EXPECT_EQ(host.slots.ListedSlotMask(), (1 << c.kinds.size()) - 1);
      EXPECT_EQ(outcome.declared.title_chain, disc.FindTitle(c.title)->program_chain);
      for (const RunNote& note : outcome.notes) EXPECT_NE(note.code, NoteCode::NotDeclared) << note.text;
    }
  }
}

TEST(DiscTitles, ATitleSetNoTitlePlaysFromIsReadAsStoredAndSaysSo) {
  ScratchDir dir;
  const std::string folder = dir.File("disc");
  fs::copy(kTitlesFolder, folder, fs::copy_options::recursive);
  // The disc's title table keeps titles 1 and 2 only: none of title set 2.
  for (const char* name : {"/VIDEO_TS/VIDEO_TS.IFO", "/VIDEO_TS/VIDEO_TS.BUP"}) {
    std::fstream file(folder + name, std::ios::binary | std::ios::in | std::ios::out);
    std::array<unsigned char, 4> sector{};
    file.seekg(0xC4);
    file.read(reinterpret_cast<char*>(sector.data()), sector.size());
    file.seekp(((sector[0] << 24) | (sector[1] << 16) | (sector[2] << 8) | sector[3]) * 2048 + 1);
    file.put(2);
  }
  const Disc disc(folder, SourceKind::Folder);
  ASSERT_EQ(disc.Titles().size(), 2u);
  EXPECT_EQ(disc.Find(2)->longest_title, std::nullopt);
  const auto source = disc.OpenTitleSet(2);
  EXPECT_EQ(FirstCellRead(*source), std::pair(1, 1));
  DiscHost host;
  const AnalysisReport outcome = AnalyseVideoObject(host, "label", *source);
  EXPECT_EQ(host.slots.KindText(0), "AC-3 192kbps 48000Hz 2ch(2/0) L,R CM [en] ");
  ASSERT_FALSE(outcome.notes.empty());
  EXPECT_EQ(outcome.notes.back().code, NoteCode::ReadAsStored);
  EXPECT_NE(outcome.notes.back().text.find("names no title of this title set"), std::string::npos)
      << outcome.notes.back().text;
}

}  // namespace
}  // namespace tonvika
