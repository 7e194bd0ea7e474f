#include "dvd/disc_titles.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "support/title_set_tables.h"

namespace tonvika {
namespace {

using testing::Cell;
using testing::TitleSetTables;

constexpr std::uint8_t k30 = 0xC0;  // frame rate bits 11
constexpr std::uint8_t k25 = 0x40;  // frame rate bits 01

TEST(PlaybackSeconds, BcdFieldsAndTheFrameRate) {
  const struct {
    dvd_time_t time;
    std::optional<double> seconds;
  } cases[] = {
      {{0x01, 0x02, 0x03, k30 | 0x15}, 3723.5},
      {{0x00, 0x00, 0x05, k25 | 0x10}, 5.4},
      {{0x00, 0x59, 0x59, k30 | 0x29}, 3599 + 29.0 / 30},
      {{0x99, 0x00, 0x00, k25}, 99 * 3600.0},
      {{0x00, 0x00, 0x00, 0x00}, 0.0},          // an empty chain: no rate, nothing played
      {{0x00, 0x00, 0x01, 0x00}, std::nullopt}, // a length without a frame rate
      {{0x00, 0x00, 0x01, 0x80}, std::nullopt}, // rate bits 10 are undefined
      {{0x0A, 0x00, 0x00, k30}, std::nullopt},  // not BCD
      {{0x00, 0x6A, 0x00, k30}, std::nullopt},
      {{0x00, 0x00, 0xF0, k30}, std::nullopt},
      {{0x00, 0x00, 0x00, k30 | 0x3A}, std::nullopt},
  };
  for (const auto& c : cases) {
    const auto seconds = PlaybackSeconds(c.time);
    ASSERT_EQ(seconds.has_value(), c.seconds.has_value()) << int(c.time.hour) << ":" << int(c.time.second);
    if (seconds) {
      EXPECT_DOUBLE_EQ(*seconds, *c.seconds);
    }
  }
}

TEST(MainFeatureTitleSet, TheLongestTitleWinsTheLowestNumberOnATie) {
  using Lengths = std::vector<std::optional<double>>;
  const struct {
    Lengths longest;
    int main;
  } cases[] = {
      {{1.0, 3.0, 1.5}, 2},
      {{3.0, 3.0}, 1},
      {{std::nullopt, 2.0}, 2},
      {{0.0, std::nullopt, 0.5}, 3},
      {{std::nullopt}, 1},
      {{}, 1},
  };
  for (const auto& c : cases) EXPECT_EQ(MainFeatureTitleSet(c.longest), c.main) << ::testing::PrintToString(c.longest);
}

TEST(TitleSeconds, EachChainOfATitleCountsOnce) {
  const TitleSetTables tables(std::vector<dvd_time_t>{{0, 0, 0x10, k30}, {0, 0x01, 0, k30}, {0x0F, 0, 0, k30}},
                              {{1, 1, 1}, {1, 2, 2}, {4}, {}, {3}});
  const struct {
    int vts_ttn;
    std::optional<double> seconds;
  } cases[] = {
      {1, 10.0},          // three chapters of one chain
      {2, 70.0},          // two chains
      {3, std::nullopt},  // a chain the table does not have
      {4, std::nullopt},  // no parts
      {5, std::nullopt},  // a length that is not BCD
      {0, std::nullopt},
      {6, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(TitleSeconds(tables.Ifo(), c.vts_ttn), c.seconds) << c.vts_ttn;
  EXPECT_EQ(TitleSeconds(ifo_handle_t{}, 1), std::nullopt);  // no tables at all
}

// The disc's title table over two title sets' tables: (title set, title
// in it, angles) per title.
class DiscTables {
 public:
  DiscTables(const std::vector<std::tuple<int, int, int>>& entries) : titles_(entries.size()) {
    for (std::size_t n = 0; n < entries.size(); ++n) {
      const auto& [set, ttn, angles] = entries[n];
      titles_[n].title_set_nr = static_cast<std::uint8_t>(set);
      titles_[n].vts_ttn = static_cast<std::uint8_t>(ttn);
      titles_[n].nr_of_angles = static_cast<std::uint8_t>(angles);
      titles_[n].nr_of_ptts = static_cast<std::uint16_t>(n + 1);
    }
    table_.nr_of_srpts = static_cast<std::uint16_t>(titles_.size());
    table_.title = titles_.data();
    vmg_.tt_srpt = &table_;
  }
  const ifo_handle_t& Vmg() const { return vmg_; }

 private:
  std::vector<title_info_t> titles_;
  tt_srpt_t table_{};
  ifo_handle_t vmg_{};
};

TEST(ReadDiscTitles, EachTitleWithItsChainLengthCellsAndAngles) {
  const TitleSetTables first({{{0, 0, 0x10, k30}, {Cell(0, 9), Cell(10, 19)}}, {{0, 0, 0x20, k30}, {Cell(20, 29)}}},
                             {{2, 2}, {1}});
  const TitleSetTables second(std::vector<dvd_time_t>{{0, 0, 0x05, k25}}, {{1}});
  // Title 4 names a title set the disc does not have; title set 3 cannot be
  // read; title set 4 has no title.
  const DiscTables disc({{1, 1, 1}, {2, 1, 0}, {1, 2, 3}, {7, 1, 1}, {3, 1, 1}});
  const ifo_handle_t* sets[] = {&first.Ifo(), &second.Ifo(), nullptr, &second.Ifo()};
  const std::vector<DiscTitle> titles = ReadDiscTitles(disc.Vmg(), sets);
  struct Expected {
    int number, title_set, vts_ttn, program_chain;
    std::optional<double> seconds;
    int chapters, cells, angles;
  };
  const Expected expected[] = {
      {1, 1, 1, 2, 20.0, 1, 1, 1},
      {2, 2, 1, 1, 5.0, 2, 0, 1},  // no angle count read as one
      {3, 1, 2, 1, 10.0, 3, 2, 3},
      {5, 3, 1, 0, std::nullopt, 5, 0, 1},
  };
  ASSERT_EQ(titles.size(), std::size(expected));
  for (std::size_t n = 0; n < titles.size(); ++n) {
    const DiscTitle& t = titles[n];
    const Expected& e = expected[n];
    EXPECT_EQ(std::tie(t.number, t.title_set, t.vts_ttn, t.program_chain, t.seconds, t.chapters, t.cells, t.angles),
              std::tie(e.number, e.title_set, e.vts_ttn, e.program_chain, e.seconds, e.chapters, e.cells, e.angles))
        << "title " << e.number;
  }
  EXPECT_TRUE(ReadDiscTitles(ifo_handle_t{}, sets).empty());

  EXPECT_EQ(LongestTitles(titles, 4), (std::vector<std::optional<double>>{20.0, 5.0, std::nullopt, std::nullopt}));
  EXPECT_EQ(LongestTitleOf(titles, 1), 1);
  EXPECT_EQ(LongestTitleOf(titles, 2), 2);
  EXPECT_EQ(LongestTitleOf(titles, 3), 5);  // no length: the first title
  EXPECT_EQ(LongestTitleOf(titles, 4), std::nullopt);
}

TEST(LongestTitleOf, TheLongestTheLowestNumberOnATieTheFirstWithoutLengths) {
  const auto title = [](int number, std::optional<double> seconds) {
    DiscTitle t;
    t.number = number;
    t.title_set = 1;
    t.seconds = seconds;
    return t;
  };
  const struct {
    std::vector<DiscTitle> titles;
    std::optional<int> chosen;
  } cases[] = {
      {{title(1, 20.0), title(2, 60.0)}, 2},
      {{title(3, 60.0), title(4, 60.0)}, 3},
      {{title(5, std::nullopt), title(6, 1.0)}, 6},
      {{title(7, std::nullopt), title(8, std::nullopt)}, 7},
      {{}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(LongestTitleOf(c.titles, 1), c.chosen);
}

}  // namespace
}  // namespace tonvika
