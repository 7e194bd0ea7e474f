#pragma once
// A title of a disc read whole, block run by block run, as an extraction
// reads it: blocks that cannot be read are passed over, not an end.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/stream_reader.h"
#include "dvd/title_stream.h"
#include "io/dvd_reader.h"

namespace tonvika {

class TitleStreamReader final : public StreamReader {
 public:
  using CauseFunction = std::function<std::optional<std::string>()>;
  // `cells` empty: the title set's VOBs as they are stored. `cause` tells
  // why blocks could not be read (an image that ends early), if it knows.
  TitleStreamReader(DvdFile vobs, std::vector<CellBlocks> cells, CauseFunction cause);

  std::uint64_t Size() const override { return size_; }
  StreamPiece Read(std::span<std::uint8_t> out) override;
  std::optional<std::string> SkipCause() const override;

 private:
  DvdFile vobs_;
  std::unique_ptr<DvdFileBlocks> blocks_;
  std::unique_ptr<TitleStream> title_;
  CauseFunction cause_;
  std::uint64_t size_ = 0;
  bool skipped_any_ = false;
};

}  // namespace tonvika
