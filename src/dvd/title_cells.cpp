#include "dvd/title_cells.h"

#include <algorithm>

#include "dvd/disc_titles.h"

namespace tonvika {

bool PlayedOnFirstAngle(const cell_playback_t& cell) {
  return cell.block_type != BLOCK_TYPE_ANGLE_BLOCK || cell.block_mode == BLOCK_MODE_FIRST_CELL;
}

std::vector<CellBlocks> TitleCells(const ifo_handle_t& vts, int vts_ttn) {
  std::vector<CellBlocks> cells;
  const auto chains = TitleProgramChains(vts, vts_ttn);
  if (!chains) return cells;
  for (const pgc_t* chain : *chains) {
    if (chain->cell_playback == nullptr) continue;
    for (int n = 0; n < chain->nr_of_cells; ++n) {
      const cell_playback_t& cell = chain->cell_playback[n];
      if (!PlayedOnFirstAngle(cell) || cell.last_sector < cell.first_sector) continue;
      cells.push_back({cell.first_sector, cell.last_sector, cell.interleaved != 0});
    }
  }
  return cells;
}

std::vector<CellBlocks> ClipCells(std::vector<CellBlocks> cells, std::uint32_t blocks) {
  std::erase_if(cells, [blocks](const CellBlocks& cell) { return cell.first >= blocks; });
  for (CellBlocks& cell : cells) cell.last = std::min(cell.last, blocks - 1);
  return cells;
}

}  // namespace tonvika
