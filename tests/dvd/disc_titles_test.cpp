#include "dvd/disc_titles.h"

#include <gtest/gtest.h>

#include <vector>

namespace tonvika {
namespace {

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

// A title set's tables in memory: program chains of the given lengths, and
// titles as lists of the chain numbers their parts play.
class TitleSetTables {
 public:
  TitleSetTables(std::vector<dvd_time_t> chains, std::vector<std::vector<std::uint16_t>> titles)
      : chains_(chains.size()), srps_(chains.size()), titles_(titles.size()) {
    for (std::size_t n = 0; n < chains.size(); ++n) {
      chains_[n].playback_time = chains[n];
      srps_[n].pgc = &chains_[n];
    }
    pgcit_.nr_of_pgci_srp = static_cast<std::uint16_t>(chains.size());
    pgcit_.pgci_srp = srps_.data();
    for (const auto& title : titles) {
      auto& parts = parts_.emplace_back();
      for (const std::uint16_t pgcn : title) parts.push_back(ptt_info_t{pgcn, 1});
    }
    for (std::size_t n = 0; n < titles.size(); ++n) {
      titles_[n].nr_of_ptts = static_cast<std::uint16_t>(parts_[n].size());
      titles_[n].ptt = parts_[n].data();
    }
    ptt_srpt_.nr_of_srpts = static_cast<std::uint16_t>(titles.size());
    ptt_srpt_.title = titles_.data();
    ifo_.vts_pgcit = &pgcit_;
    ifo_.vts_ptt_srpt = &ptt_srpt_;
  }
  const ifo_handle_t& Ifo() const { return ifo_; }

 private:
  std::vector<pgc_t> chains_;
  std::vector<pgci_srp_t> srps_;
  pgcit_t pgcit_{};
  std::vector<std::vector<ptt_info_t>> parts_;
  std::vector<ttu_t> titles_;
  vts_ptt_srpt_t ptt_srpt_{};
  ifo_handle_t ifo_{};
};

TEST(TitleSeconds, EachChainOfATitleCountsOnce) {
  const TitleSetTables tables({{0, 0, 0x10, k30}, {0, 0x01, 0, k30}, {0x0F, 0, 0, k30}},
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

TEST(LongestTitles, ByTitleSetFromTheDiscsTitleTable) {
  const TitleSetTables first({{0, 0, 0x10, k30}, {0, 0, 0x20, k30}}, {{1}, {2}});
  const TitleSetTables second({{0, 0, 0x05, k25}}, {{1}});
  std::vector<title_info_t> titles(5);
  const std::pair<int, int> entries[] = {{1, 1}, {2, 1}, {1, 2}, {7, 1}, {3, 1}};  // set 7 does not exist
  for (std::size_t n = 0; n < titles.size(); ++n) {
    titles[n].title_set_nr = static_cast<std::uint8_t>(entries[n].first);
    titles[n].vts_ttn = static_cast<std::uint8_t>(entries[n].second);
  }
  tt_srpt_t table{};
  table.nr_of_srpts = static_cast<std::uint16_t>(titles.size());
  table.title = titles.data();
  ifo_handle_t vmg{};
  vmg.tt_srpt = &table;
  // Title set 3 cannot be read; title set 4 has no title.
  const ifo_handle_t* sets[] = {&first.Ifo(), &second.Ifo(), nullptr, &second.Ifo()};
  const auto longest = LongestTitles(vmg, sets);
  EXPECT_EQ(longest, (std::vector<std::optional<double>>{20.0, 5.0, std::nullopt, std::nullopt}));
  EXPECT_EQ(LongestTitles(ifo_handle_t{}, sets), std::vector<std::optional<double>>(4));
}

}  // namespace
}  // namespace tonvika
