#pragma once
// The zero-filled buffer the read window is read into.

#include <cstddef>
#include <cstdint>
#include <span>

namespace tonvika {

// Anonymous memory, aligned to 2 MiB and offered to the kernel for huge pages:
// a 20 MiB window then costs ten page faults instead of five thousand, which
// is most of the run's time. Bytes that are never written read as zero.
class ReadWindow {
 public:
  explicit ReadWindow(std::size_t size);  // throws std::bad_alloc
  ~ReadWindow();
  ReadWindow(const ReadWindow&) = delete;
  ReadWindow& operator=(const ReadWindow&) = delete;

  std::uint8_t* data() { return data_; }
  std::size_t size() const { return size_; }
  std::span<std::uint8_t> bytes() { return {data_, size_}; }

 private:
  void* mapping_ = nullptr;
  std::size_t mapping_size_ = 0;
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace tonvika
