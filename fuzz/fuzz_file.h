#pragma once
// An in-memory file holding the current fuzz input, reachable by a path.
// The core's file readers take paths; a memfd behind /proc/self/fd/N gives
// them a real regular file without touching the disk.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace tonvika::fuzz {

class FuzzFile {
 public:
  FuzzFile() : fd_(::memfd_create("tonvika-fuzz", MFD_CLOEXEC)) {
    if (fd_ < 0) std::abort();
    path_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  ~FuzzFile() { ::close(fd_); }
  FuzzFile(const FuzzFile&) = delete;
  FuzzFile& operator=(const FuzzFile&) = delete;

  // Replaces the file's content with `size` bytes from `data`.
  void Fill(const std::uint8_t* data, std::size_t size) {
    if (::ftruncate(fd_, 0) != 0) std::abort();
    std::size_t written = 0;
    while (written < size) {
      const ssize_t got = ::pwrite(fd_, data + written, size - written,
                                   static_cast<off_t>(written));
      if (got <= 0) std::abort();
      written += static_cast<std::size_t>(got);
    }
  }

  const std::string& Path() const { return path_; }

 private:
  int fd_;
  std::string path_;
};

// One file per process, reused for every input.
inline FuzzFile& TheFuzzFile() {
  static FuzzFile file;
  return file;
}

}  // namespace tonvika::fuzz
