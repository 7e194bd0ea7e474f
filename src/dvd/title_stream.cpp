#include "dvd/title_stream.h"

#include <algorithm>
#include <limits>

#include "dvd/nav_pack.h"

namespace tonvika {

std::uint32_t DvdFileBlocks::Blocks() {
  const std::uint64_t blocks = DvdFileBytes(vobs_) / kDvdBlockSize;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(blocks, std::numeric_limits<std::uint32_t>::max()));
}

std::size_t DvdFileBlocks::Read(std::uint32_t first, std::span<std::uint8_t> out) {
  return ReadDvdBlocks(vobs_, first, out);
}

TitleStream::TitleStream(BlockSource& blocks, std::vector<CellBlocks> cells)
    : blocks_(blocks), cells_(ClipCells(std::move(cells), blocks.Blocks())) {
  EnterCell();
}

std::uint64_t TitleStream::Bytes() const {
  std::uint64_t blocks = 0;
  for (const CellBlocks& cell : cells_) blocks += std::uint64_t{cell.last} - cell.first + 1;
  return blocks * kDvdBlockSize;
}

void TitleStream::EnterCell() {
  if (cell_ >= cells_.size()) return;
  const CellBlocks& cell = cells_[cell_];
  next_ = cell.first;
  run_end_ = cell.last;
  jump_ = cell.last + 1;  // clipped cells end below the largest address
  at_vobu_start_ = cell.interleaved;
}

bool TitleStream::FindNextBlock() {
  while (cell_ < cells_.size()) {
    const CellBlocks& cell = cells_[cell_];
    if (!at_vobu_start_ && next_ > run_end_) {
      next_ = jump_;
      at_vobu_start_ = cell.interleaved;
    }
    if (next_ <= cell.last) return true;
    ++cell_;
    EnterCell();
  }
  return false;
}

bool TitleStream::ReadNavPack(std::span<std::uint8_t> block) {
  const std::uint32_t at = next_;
  if (blocks_.Read(at, block) < kDvdBlockSize) return false;
  const CellBlocks& cell = cells_[cell_];
  next_ = at + 1;
  at_vobu_start_ = false;
  run_end_ = cell.last;
  jump_ = cell.last + 1;
  // A VOBU that does not begin with a NAV pack leaves no way to skip the
  // other angles: the rest of the cell is read as it is stored.
  const std::optional<VobuLinks> links = ReadVobuLinks(block);
  if (!links) return true;
  run_end_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{at} + links->vobu_end, cell.last));
  const std::optional<std::uint32_t> next = NextVobuOfAngle(at, *links);
  if (next && *next <= cell.last) jump_ = *next;
  return true;
}

std::size_t TitleStream::Read(std::span<std::uint8_t> out) {
  const std::size_t wanted = out.size() / kDvdBlockSize;
  std::size_t done = 0;
  while (done < wanted && !stopped_ && FindNextBlock()) {
    const std::span<std::uint8_t> rest = out.subspan(done * kDvdBlockSize, (wanted - done) * kDvdBlockSize);
    if (at_vobu_start_) {
      stopped_ = !ReadNavPack(rest.first(kDvdBlockSize));
      if (!stopped_) ++done;
      continue;
    }
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(std::uint64_t{run_end_} - next_ + 1, wanted - done));
    const std::size_t got = blocks_.Read(next_, rest.first(count * kDvdBlockSize)) / kDvdBlockSize;
    done += got;
    next_ += static_cast<std::uint32_t>(got);
    stopped_ = got < count;
  }
  return done * kDvdBlockSize;
}

std::uint64_t TitleStream::SkipUnreadable() {
  stopped_ = false;
  std::uint64_t skipped = 0;
  std::array<std::uint8_t, kDvdBlockSize> block;
  while (FindNextBlock()) {
    if (blocks_.Read(next_, block) == kDvdBlockSize) break;
    ++skipped;
    ++next_;
    if (at_vobu_start_) {
      // Without its NAV pack the unit's end and the next unit of the angle
      // are unknown.
      at_vobu_start_ = false;
      run_end_ = cells_[cell_].last;
      jump_ = run_end_ + 1;
    }
  }
  return skipped;
}

}  // namespace tonvika
