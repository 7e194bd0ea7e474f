#pragma once
// Where an extracted stream's bytes go: a file being written, or memory in
// tests.

#include <cstdint>
#include <span>

namespace tonvika {

class ByteOutput {
 public:
  virtual ~ByteOutput() = default;
  virtual void Write(std::span<const std::uint8_t> bytes) = 0;
  // Rewrites bytes already written (a header that needs the final sizes).
  virtual void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace tonvika
