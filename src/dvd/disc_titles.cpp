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

std::optional<double> TitleSeconds(const ifo_handle_t& vts, int vts_ttn) {
  const vts_ptt_srpt_t* parts = vts.vts_ptt_srpt;
  if (parts == nullptr || parts->title == nullptr || vts_ttn < 1 || vts_ttn > parts->nr_of_srpts) {
    return std::nullopt;
  }
  const ttu_t& title = parts->title[vts_ttn - 1];
  if (title.ptt == nullptr || title.nr_of_ptts == 0) return std::nullopt;
  std::vector<int> chains;
  for (int n = 0; n < title.nr_of_ptts; ++n) {
    const int pgcn = title.ptt[n].pgcn;
    if (std::find(chains.begin(), chains.end(), pgcn) == chains.end()) chains.push_back(pgcn);
  }
  double total = 0;
  for (const int pgcn : chains) {
    const pgc_t* chain = ProgramChain(vts, pgcn);
    if (chain == nullptr) return std::nullopt;
    const auto seconds = PlaybackSeconds(chain->playback_time);
    if (!seconds) return std::nullopt;
    total += *seconds;
  }
  return total;
}

std::vector<std::optional<double>> LongestTitles(const ifo_handle_t& vmg,
                                                 std::span<const ifo_handle_t* const> vts) {
  std::vector<std::optional<double>> longest(vts.size());
  const tt_srpt_t* titles = vmg.tt_srpt;
  if (titles == nullptr || titles->title == nullptr) return longest;
  for (int n = 0; n < titles->nr_of_srpts; ++n) {
    const title_info_t& title = titles->title[n];
    // A title naming a title set the disc does not have is left out.
    if (title.title_set_nr < 1 || title.title_set_nr > vts.size()) continue;
    const ifo_handle_t* set = vts[title.title_set_nr - 1];
    if (set == nullptr) continue;
    const auto seconds = TitleSeconds(*set, title.vts_ttn);
    auto& best = longest[title.title_set_nr - 1];
    if (seconds && (!best || *seconds > *best)) best = seconds;
  }
  return longest;
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
