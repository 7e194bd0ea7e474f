#include "analysis/title_stream_reader.h"

namespace tonvika {

namespace {

std::vector<CellBlocks> AsStored(DvdFileBlocks& blocks) {
  const std::uint32_t count = blocks.Blocks();
  if (count == 0) return {};
  return {CellBlocks{0, count - 1, false}};
}

}  // namespace

TitleStreamReader::TitleStreamReader(DvdFile vobs, std::vector<CellBlocks> cells, CauseFunction cause)
    : vobs_(std::move(vobs)), blocks_(std::make_unique<DvdFileBlocks>(*vobs_)), cause_(std::move(cause)) {
  if (cells.empty()) cells = AsStored(*blocks_);
  title_ = std::make_unique<TitleStream>(*blocks_, std::move(cells));
  size_ = title_->Bytes();
}

StreamPiece TitleStreamReader::Read(std::span<std::uint8_t> out) {
  StreamPiece piece;
  if (title_->Stopped()) {
    piece.skipped_before = title_->SkipUnreadable() * kDvdBlockSize;
    skipped_any_ = skipped_any_ || piece.skipped_before > 0;
  }
  piece.bytes = title_->Read(out);
  return piece;
}

std::optional<std::string> TitleStreamReader::SkipCause() const {
  if (!skipped_any_) return std::nullopt;
  return cause_ ? cause_() : std::nullopt;
}

}  // namespace tonvika
