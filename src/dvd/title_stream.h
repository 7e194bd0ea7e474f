#pragma once
// A title's program stream as it plays: its cells in playback order, read
// block by block from the title set's VOBs, angle 1 of an angle block
// followed through its NAV packs. The analysis reads the first megabytes of
// it; extraction reads all of it, piece by piece.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "dvd/title_cells.h"
#include "io/dvd_reader.h"

namespace tonvika {

// The title set's title VOBs as one run of 2048-byte blocks.
class BlockSource {
 public:
  virtual ~BlockSource() = default;
  virtual std::uint32_t Blocks() = 0;
  // Fills `out` with whole blocks from `first` on; the bytes delivered,
  // fewer at the end or on a read error.
  virtual std::size_t Read(std::uint32_t first, std::span<std::uint8_t> out) = 0;
};

// The title VOBs of a disc's title set, through libdvdread.
class DvdFileBlocks final : public BlockSource {
 public:
  explicit DvdFileBlocks(dvd_file_t& vobs) : vobs_(vobs) {}
  std::uint32_t Blocks() override;
  std::size_t Read(std::uint32_t first, std::span<std::uint8_t> out) override;

 private:
  dvd_file_t& vobs_;
};

class TitleStream {
 public:
  // `cells` as TitleCells gives them; they are cut to the blocks the source has.
  TitleStream(BlockSource& blocks, std::vector<CellBlocks> cells);

  // The bytes of the cells: the title's length, except that an interleaved
  // cell's range also holds other angles' units, which are not read.
  std::uint64_t Bytes() const;

  // Fills `out` with the next whole blocks of the title (a tail shorter than
  // a block is left as it is); the bytes delivered, fewer at the title's
  // end or when a block cannot be read, after which nothing more is read.
  std::size_t Read(std::span<std::uint8_t> out);
  // A block could not be read: the title's bytes ended early.
  bool Stopped() const { return stopped_; }
  // After a stop: passes over the blocks that cannot be read, up to the
  // next one that can, so that Read goes on from there; the blocks passed
  // over. An angle unit whose NAV pack is among them is read on as stored.
  std::uint64_t SkipUnreadable();

 private:
  void EnterCell();
  bool FindNextBlock();
  bool ReadNavPack(std::span<std::uint8_t> block);

  BlockSource& blocks_;
  std::vector<CellBlocks> cells_;
  std::size_t cell_ = 0;
  std::uint32_t next_ = 0;     // the next block to read
  std::uint32_t run_end_ = 0;  // the last block read on from next_ without a jump
  std::uint32_t jump_ = 0;     // where the cell goes on after run_end_
  bool at_vobu_start_ = false; // in an interleaved cell: next_ is a NAV pack to be read first
  bool stopped_ = false;       // a read failed
};

}  // namespace tonvika
