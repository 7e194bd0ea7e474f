#pragma once
// Where a title's pictures and sound lie in its title set's VOBs: the cells
// its program chains play, in the order they play them.

#include <dvdread/ifo_types.h>

#include <cstdint>
#include <vector>

namespace tonvika {

// One cell as block addresses in the title set's title VOBs (read as one
// stream of 2048-byte blocks), its last block included.
struct CellBlocks {
  std::uint32_t first = 0;
  std::uint32_t last = 0;
  // The cell's VOBUs are interleaved with those of other cells (an angle
  // block): its range holds other angles' units, which its NAV packs skip.
  bool interleaved = false;

  friend bool operator==(const CellBlocks&, const CellBlocks&) = default;
};

// The cells title `vts_ttn` plays: each of its chains (in the order of its
// parts) in the order of the chain's cell playback table, which may differ
// from the order the VOBs store them in. Of an angle block only angle 1's
// cell, the block's first, is played. A cell whose last block comes before
// its first is left out. Empty when the tables do not hold the title or one
// of its chains.
std::vector<CellBlocks> TitleCells(const ifo_handle_t& vts, int vts_ttn);

// Whether a cell of a chain is played on angle 1: every cell outside an
// angle block, and the first cell of each block.
bool PlayedOnFirstAngle(const cell_playback_t& cell);

// The cells cut to the first `blocks` blocks of the VOBs: the part of a cell
// past their end is dropped, and a cell wholly past it too. A title set
// copied with its VOBs cut short is read as far as they go.
std::vector<CellBlocks> ClipCells(std::vector<CellBlocks> cells, std::uint32_t blocks);

}  // namespace tonvika
