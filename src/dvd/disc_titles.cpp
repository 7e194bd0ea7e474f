#include "dvd/disc_titles.h"

#include <algorithm>

namespace tonvika {

namespace {

constexpr std::uint8_t kFrameRateShift = 6;
constexpr std::uint8_t kFrameDigits = 0x3F;
// Frames a second by the two rate bits; 0 marks an undefined value.
constexpr int kFramesPerSecond[] = {0, 25, 0, 30};

std::optional<int> Bcd(std::uint8_t byte) {
  const int high = byte >> 4;
  const int low = byte & 0x0F;
  if (high > 9 || low > 9) return std::nullopt;
  return high * 10 + low;
}

const pgc_t* ProgramChain(const ifo_handle_t& vts, int pgcn) {
  const pgcit_t* table = vts.vts_pgcit;
  if (table == nullptr || table->pgci_srp == nullptr || pgcn < 1 || pgcn > table->nr_of_pgci_srp) return nullptr;
  return table->pgci_srp[pgcn - 1].pgc;
}

// What the title set's own tables tell of one of its titles.
void DescribeTitle(const ifo_handle_t& vts, DiscTitle& title) {
  const auto chains = TitleProgramChains(vts, title.vts_ttn);
  if (!chains) return;
  title.program_chain = vts.vts_ptt_srpt->title[title.vts_ttn - 1].ptt[0].pgcn;
  title.seconds = TitleSeconds(vts, title.vts_ttn);
  for (const pgc_t* chain : *chains) title.cells += chain->nr_of_cells;
}

}  // namespace

std::optional<double> PlaybackSeconds(const dvd_time_t& time) {
  const int rate = kFramesPerSecond[time.frame_u >> kFrameRateShift];
  const auto hours = Bcd(time.hour);
  const auto minutes = Bcd(time.minute);
  const auto seconds = Bcd(time.second);
  const auto frames = Bcd(time.frame_u & kFrameDigits);
  if (!hours || !minutes || !seconds || !frames) return std::nullopt;
  // A chain without a frame rate (an all-zero time) lasts nothing.
  if (rate == 0) {
    if (*hours == 0 && *minutes == 0 && *seconds == 0 && *frames == 0) return 0.0;
    return std::nullopt;
  }
  return *hours * 3600.0 + *minutes * 60.0 + *seconds + static_cast<double>(*frames) / rate;
}

std::optional<std::vector<const pgc_t*>> TitleProgramChains(const ifo_handle_t& vts, int vts_ttn) {
  const vts_ptt_srpt_t* parts = vts.vts_ptt_srpt;
  if (parts == nullptr || parts->title == nullptr || vts_ttn < 1 || vts_ttn > parts->nr_of_srpts) {
    return std::nullopt;
  }
  const ttu_t& title = parts->title[vts_ttn - 1];
  if (title.ptt == nullptr || title.nr_of_ptts == 0) return std::nullopt;
  std::vector<int> numbers;
  for (int n = 0; n < title.nr_of_ptts; ++n) {
    const int pgcn = title.ptt[n].pgcn;
    if (std::find(numbers.begin(), numbers.end(), pgcn) == numbers.end()) numbers.push_back(pgcn);
  }
  std::vector<const pgc_t*> chains;
  for (const int pgcn : numbers) {
    const pgc_t* chain = ProgramChain(vts, pgcn);
    if (chain == nullptr) return std::nullopt;
    chains.push_back(chain);
  }
  return chains;
}

std::optional<double> TitleSeconds(const ifo_handle_t& vts, int vts_ttn) {
  const auto chains = TitleProgramChains(vts, vts_ttn);
  if (!chains) return std::nullopt;
  double total = 0;
  for (const pgc_t* chain : *chains) {
    const auto seconds = PlaybackSeconds(chain->playback_time);
    if (!seconds) return std::nullopt;
    total += *seconds;
  }
  return total;
}

std::vector<DiscTitle> ReadDiscTitles(const ifo_handle_t& vmg, std::span<const ifo_handle_t* const> vts) {
  std::vector<DiscTitle> titles;
  const tt_srpt_t* table = vmg.tt_srpt;
  if (table == nullptr || table->title == nullptr) return titles;
  for (int n = 0; n < table->nr_of_srpts; ++n) {
    const title_info_t& entry = table->title[n];
    // A title naming a title set the disc does not have is left out.
    if (entry.title_set_nr < 1 || entry.title_set_nr > vts.size()) continue;
    DiscTitle title;
    title.number = n + 1;
    title.title_set = entry.title_set_nr;
    title.vts_ttn = entry.vts_ttn;
    title.chapters = entry.nr_of_ptts;
    title.angles = std::max<int>(entry.nr_of_angles, 1);
    if (const ifo_handle_t* set = vts[entry.title_set_nr - 1]) DescribeTitle(*set, title);
    titles.push_back(title);
  }
  return titles;
}

std::vector<std::optional<double>> LongestTitles(std::span<const DiscTitle> titles, int title_sets) {
  std::vector<std::optional<double>> longest(static_cast<std::size_t>(std::max(title_sets, 0)));
  for (const DiscTitle& title : titles) {
    if (title.title_set < 1 || title.title_set > title_sets) continue;
    auto& best = longest[static_cast<std::size_t>(title.title_set - 1)];
    if (title.seconds && (!best || *title.seconds > *best)) best = title.seconds;
  }
  return longest;
}

std::optional<int> LongestTitleOf(std::span<const DiscTitle> titles, int title_set) {
  const DiscTitle* chosen = nullptr;
  for (const DiscTitle& title : titles) {
    if (title.title_set != title_set) continue;
    if (chosen == nullptr || (title.seconds && (!chosen->seconds || *title.seconds > *chosen->seconds))) {
      chosen = &title;
    }
  }
  if (chosen == nullptr) return std::nullopt;
  return chosen->number;
}

int MainFeatureTitleSet(std::span<const std::optional<double>> longest) {
  int main = 1;
  std::optional<double> best;
  for (std::size_t n = 0; n < longest.size(); ++n) {
    if (longest[n] && (!best || *longest[n] > *best)) {
      best = longest[n];
      main = static_cast<int>(n) + 1;
    }
  }
  return main;
}

}  // namespace tonvika
