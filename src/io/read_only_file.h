#pragma once
// A regular file opened for reading only. Opening checks that the path names
// a regular file before it is opened, so a FIFO or a device is never opened
// and a folder is refused like any file that cannot be opened.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tonvika {

class ReadOnlyFile {
 public:
  // Throws FileError with the system's reason, or "not a regular file".
  explicit ReadOnlyFile(std::string path);
  ~ReadOnlyFile();

  ReadOnlyFile(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  const std::string& Path() const { return path_; }

  // The current size in bytes. Throws FileError when it cannot be taken.
  std::uint64_t Size() const;

  // Reads from `offset` into `out` until it is full or the file ends; returns
  // the number of bytes delivered (less than out.size() only at the end).
  // Throws FileError on a read error.
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const;

  // The first offset at or after `offset` that is not inside a hole of a
  // sparse file (holes read as zero bytes); the size when only holes follow.
  // Where the file system cannot tell, `offset` itself: everything is data.
  std::uint64_t DataOffsetFrom(std::uint64_t offset) const;

 private:
  void Close() noexcept;

  std::string path_;
  int fd_ = -1;
};

// The file's first bytes, at most `max_size` of them (all of a smaller file).
// Throws FileError like ReadOnlyFile.
std::vector<std::uint8_t> ReadFileStart(const std::string& path, std::size_t max_size);

}  // namespace tonvika
