#pragma once
// A whole program stream read from its first byte to its end, piece by
// piece: what an extraction reads, where an analysis reads one window.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tonvika {

struct StreamPiece {
  std::size_t bytes = 0;            // delivered at the start of the buffer
  std::uint64_t skipped_before = 0;  // bytes that could not be read, passed over before them
};

class StreamReader {
 public:
  virtual ~StreamReader() = default;
  // The bytes the stream holds, for progress.
  virtual std::uint64_t Size() const = 0;
  // The next bytes, into a buffer of whole 2048-byte blocks; bytes 0 and
  // nothing skipped at the end. Throws FileError when the source fails in a
  // way that cannot be passed over.
  virtual StreamPiece Read(std::span<std::uint8_t> out) = 0;
  // Why bytes were passed over ("the image ends at ..."), once some were.
  virtual std::optional<std::string> SkipCause() const { return std::nullopt; }
};

}  // namespace tonvika
