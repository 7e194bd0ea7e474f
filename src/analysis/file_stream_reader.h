#pragma once
// A VOB file read whole, from its first byte to its end.

#include <string>

#include "analysis/stream_reader.h"
#include "io/read_only_file.h"

namespace tonvika {

class FileStreamReader final : public StreamReader {
 public:
  // Throws FileError when the file cannot be opened.
  explicit FileStreamReader(std::string path) : file_(std::move(path)), size_(file_.Size()) {}

  std::uint64_t Size() const override { return size_; }
  // A read error of the file throws FileError: a file has no blocks to pass over.
  StreamPiece Read(std::span<std::uint8_t> out) override {
    const std::size_t got = file_.ReadAt(offset_, out);
    offset_ += got;
    return {got, 0};
  }

 private:
  ReadOnlyFile file_;
  std::uint64_t size_;
  std::uint64_t offset_ = 0;
};

}  // namespace tonvika
