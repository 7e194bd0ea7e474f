#include "io/read_window.h"

#include <sys/mman.h>

#include <new>

namespace tonvika {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t RoundUp(std::size_t value, std::size_t step) { return (value + step - 1) / step * step; }
}  // namespace

ReadWindow::ReadWindow(std::size_t size) : size_(size) {
  if (size == 0) return;
  const std::size_t rounded = RoundUp(size, kHugePage);
  mapping_size_ = rounded + kHugePage;  // room to align the start
  mapping_ = ::mmap(nullptr, mapping_size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping_ == MAP_FAILED) {
    mapping_ = nullptr;
    throw std::bad_alloc();
  }
  const auto start = reinterpret_cast<std::uintptr_t>(mapping_);
  data_ = reinterpret_cast<std::uint8_t*>(RoundUp(start, kHugePage));
  // Only a hint: without transparent huge pages the window works the same.
  ::madvise(data_, rounded, MADV_HUGEPAGE);
}

ReadWindow::~ReadWindow() {
  if (mapping_ != nullptr) ::munmap(mapping_, mapping_size_);
}

}  // namespace tonvika
