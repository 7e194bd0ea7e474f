#include "io/read_only_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

#include "io/file_error.h"

namespace tonvika {

namespace {

constexpr const char* kNotRegular = "not a regular file";

[[noreturn]] void ThrowSystemError(const std::string& path, int error) {
  throw FileError(path, std::strerror(error));
}

}  // namespace

ReadOnlyFile::ReadOnlyFile(std::string path) : path_(std::move(path)) {
  // Look before opening: opening a FIFO could block, opening a device could
  // have side effects.
  struct stat before {};
  if (::stat(path_.c_str(), &before) != 0) ThrowSystemError(path_, errno);
  if (!S_ISREG(before.st_mode)) throw FileError(path_, kNotRegular);

  fd_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) ThrowSystemError(path_, errno);

  // The path may have been replaced between stat and open.
  struct stat opened {};
  if (::fstat(fd_, &opened) != 0) {
    const int error = errno;
    Close();
    ThrowSystemError(path_, error);
  }
  if (!S_ISREG(opened.st_mode)) {
    Close();
    throw FileError(path_, kNotRegular);
  }
}

ReadOnlyFile::~ReadOnlyFile() { Close(); }

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    Close();
    path_ = std::move(other.path_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

void ReadOnlyFile::Close() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::uint64_t ReadOnlyFile::Size() const {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) ThrowSystemError(path_, errno);
  return static_cast<std::uint64_t>(info.st_size);
}

std::size_t ReadOnlyFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  constexpr auto kMaxOffset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
  std::size_t delivered = 0;
  while (delivered < out.size()) {
    // Offsets beyond what the system can address hold nothing.
    if (offset > kMaxOffset || delivered > kMaxOffset - offset) break;
    const std::uint64_t position = offset + delivered;
    const ssize_t got = ::pread(fd_, out.data() + delivered, out.size() - delivered,
                                static_cast<off_t>(position));
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowSystemError(path_, errno);
    }
    if (got == 0) break;  // end of file
    delivered += static_cast<std::size_t>(got);
  }
  return delivered;
}

std::uint64_t ReadOnlyFile::DataOffsetFrom(std::uint64_t offset) const {
  constexpr auto kMaxOffset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
  if (offset > kMaxOffset) return offset;
  const off_t data = ::lseek(fd_, static_cast<off_t>(offset), SEEK_DATA);
  if (data >= 0) return static_cast<std::uint64_t>(data);
  // ENXIO: nothing but a hole (or nothing at all) from `offset` to the end.
  if (errno == ENXIO) return std::max(offset, Size());
  return offset;
}

std::vector<std::uint8_t> ReadFileStart(const std::string& path, std::size_t max_size) {
  const ReadOnlyFile file(path);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min<std::uint64_t>(file.Size(), max_size)));
  bytes.resize(file.ReadAt(0, bytes));
  return bytes;
}

}  // namespace tonvika
