#pragma once
// A title set's tables in memory, as libdvdread hands them over: program
// chains with their lengths and cells, and titles as lists of the chain
// numbers their parts play.

#include <dvdread/ifo_types.h>

#include <cstdint>
#include <vector>

namespace tonvika::testing {

struct ChainSpec {
  dvd_time_t time{};
  std::vector<cell_playback_t> cells;
};

// A cell of blocks first to last; `mode` and `type` as in an angle block.
inline cell_playback_t Cell(std::uint32_t first, std::uint32_t last, unsigned mode = BLOCK_MODE_NOT_IN_BLOCK,
                            unsigned type = BLOCK_TYPE_NONE, bool interleaved = false) {
  cell_playback_t cell{};
  cell.block_mode = mode & 3;
  cell.block_type = type & 3;
  cell.interleaved = interleaved ? 1 : 0;
  cell.first_sector = first;
  cell.last_sector = last;
  return cell;
}

class TitleSetTables {
 public:
  TitleSetTables(std::vector<ChainSpec> chains, std::vector<std::vector<std::uint16_t>> titles)
      : specs_(std::move(chains)), chains_(specs_.size()), srps_(specs_.size()), titles_(titles.size()) {
    for (std::size_t n = 0; n < specs_.size(); ++n) {
      chains_[n].playback_time = specs_[n].time;
      chains_[n].nr_of_cells = static_cast<std::uint8_t>(specs_[n].cells.size());
      chains_[n].cell_playback = specs_[n].cells.empty() ? nullptr : specs_[n].cells.data();
      srps_[n].pgc = &chains_[n];
    }
    pgcit_.nr_of_pgci_srp = static_cast<std::uint16_t>(specs_.size());
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
  // Chains given by their lengths alone.
  TitleSetTables(const std::vector<dvd_time_t>& times, std::vector<std::vector<std::uint16_t>> titles)
      : TitleSetTables(Specs(times), std::move(titles)) {}
  TitleSetTables(const TitleSetTables&) = delete;
  TitleSetTables& operator=(const TitleSetTables&) = delete;

  const ifo_handle_t& Ifo() const { return ifo_; }

 private:
  static std::vector<ChainSpec> Specs(const std::vector<dvd_time_t>& times) {
    std::vector<ChainSpec> specs;
    for (const dvd_time_t& time : times) specs.push_back({time, {}});
    return specs;
  }

  std::vector<ChainSpec> specs_;
  std::vector<pgc_t> chains_;
  std::vector<pgci_srp_t> srps_;
  pgcit_t pgcit_{};
  std::vector<std::vector<ptt_info_t>> parts_;
  std::vector<ttu_t> titles_;
  vts_ptt_srpt_t ptt_srpt_{};
  ifo_handle_t ifo_{};
};

}  // namespace tonvika::testing
