#include "io/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "io/file_error.h"

namespace tonvika {

namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
constexpr mode_t kFileMode = 0666;  // narrowed by the umask, like any new file
constexpr const char* kExists = "file exists";
constexpr int kHiddenNameAttempts = 100;

[[noreturn]] void ThrowSystemError(const std::string& path, int error) {
  throw FileError(path, error == EEXIST ? kExists : std::strerror(error));
}

std::string FolderOf(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

// Refuses a name that is taken (unless it is to be replaced) before any work
// is done; Commit checks again, atomically.
void CheckTarget(const std::string& path, bool replace) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return;
    ThrowSystemError(path, errno);
  }
  if (!replace) throw FileError(path, kExists);
  if (S_ISDIR(info.st_mode)) ThrowSystemError(path, EISDIR);
}

mode_t CurrentUmask() {
  // Read, not set and reset: another thread may be creating a file.
  std::ifstream status("/proc/self/status");
  constexpr std::string_view kField = "Umask:";
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with(kField)) {
      return static_cast<mode_t>(std::strtoul(line.c_str() + kField.size(), nullptr, 8));
    }
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

// Older kernels left the umask out of unnamed files' modes on some file
// systems; the file must end up like any other new file. Only ever narrows,
// so a folder's default ACL still has its say.
void NarrowToUmask(int fd) {
  const mode_t allowed = kFileMode & ~CurrentUmask();
  struct stat info {};
  if (::fstat(fd, &info) == 0 && (info.st_mode & 07777 & ~allowed) != 0) {
    ::fchmod(fd, info.st_mode & allowed);
  }
}

std::string RandomSuffix() {
  constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  std::string suffix(6, ' ');
  for (char& letter : suffix) letter = kLetters[random() % kLetters.size()];
  return suffix;
}

// Tries hidden names beside `path` (.NAME.XXXXXX) until `make` finds one
// free: `make` returns 0 or the errno of its failure. Returns the name made.
template <typename Make>
std::string MakeUnderHiddenName(const std::string& path, Make make) {
  const std::filesystem::path target(path);
  const std::string stem = (target.parent_path() / ("." + target.filename().string() + ".")).string();
  for (int attempt = 0; attempt < kHiddenNameAttempts; ++attempt) {
    std::string name = stem + RandomSuffix();
    const int error = make(name);
    if (error == 0) return name;
    if (error != EEXIST) ThrowSystemError(path, error);
  }
  ThrowSystemError(path, EEXIST);
}

// Gives an unnamed file a name; fails with EEXIST when the name is taken.
int LinkDescriptor(int fd, const std::string& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  const int error = errno;
  // Without /proc, the descriptor itself (allowed only with CAP_DAC_READ_SEARCH).
  if (error == ENOENT && ::access("/proc/self/fd", F_OK) != 0 &&
      ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) {
    return 0;
  }
  return error;
}

// Renames `from` to `to` unless `to` exists (EEXIST).
int MoveWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // Where the file system cannot rename that way, link refuses a taken name too.
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  ::unlink(from.c_str());
  return 0;
}

}  // namespace

namespace detail {

OutputFile MakeHiddenOutputFile(std::string path, bool replace) {
  return OutputFile(std::move(path), replace, OutputFile::Naming::Hidden);
}

}  // namespace detail

OutputFile::OutputFile(std::string path, bool replace)
    : OutputFile(std::move(path), replace, Naming::Unnamed) {}

OutputFile::OutputFile(std::string path, bool replace, Naming naming)
    : path_(std::move(path)), replace_(replace) {
  CheckTarget(path_, replace_);
  buffer_.reserve(kBufferSize);
  if (naming == Naming::Unnamed) {
    fd_ = ::open(FolderOf(path_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kFileMode);
    // EOPNOTSUPP: the file system cannot; EISDIR: the kernel does not know O_TMPFILE.
    if (fd_ < 0 && errno != EOPNOTSUPP && errno != EISDIR) ThrowSystemError(path_, errno);
    if (fd_ >= 0) NarrowToUmask(fd_);
  }
  if (fd_ < 0) {
    hidden_path_ = MakeUnderHiddenName(path_, [this](const std::string& name) {
      fd_ = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, kFileMode);
      return fd_ < 0 ? errno : 0;
    });
  }
}

OutputFile::~OutputFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!hidden_path_.empty()) ::unlink(hidden_path_.c_str());
}

void OutputFile::Write(std::span<const std::uint8_t> bytes) {
  if (buffer_.size() + bytes.size() > kBufferSize) Flush();
  if (bytes.size() >= kBufferSize) {
    WriteAll(bytes.data(), bytes.size(), flushed_);
    flushed_ += bytes.size();
    return;
  }
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

void OutputFile::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  if (offset > Size() || bytes.size() > Size() - offset) {
    throw std::out_of_range("OutputFile::WriteAt: bytes not written yet");
  }
  Flush();
  WriteAll(bytes.data(), bytes.size(), offset);
}

void OutputFile::Commit() { Commit(path_); }

void OutputFile::Commit(std::string path) {
  if (committed_) return;
  Flush();
  if (hidden_path_.empty()) {
    LinkUnnamed(path);
  } else {
    MoveHidden(path);
  }
  path_ = std::move(path);
  committed_ = true;
}

void OutputFile::Flush() {
  if (buffer_.empty()) return;
  WriteAll(buffer_.data(), buffer_.size(), flushed_);
  flushed_ += buffer_.size();
  buffer_.clear();
}

void OutputFile::WriteAll(const std::uint8_t* data, std::size_t size, std::uint64_t offset) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t wrote = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(offset + done));
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) ThrowSystemError(path_, wrote < 0 ? errno : EIO);
    done += static_cast<std::size_t>(wrote);
  }
}

void OutputFile::LinkUnnamed(const std::string& path) {
  if (!replace_) {
    if (const int error = LinkDescriptor(fd_, path)) ThrowSystemError(path, error);
    return;
  }
  // A name of its own first, then renamed over the old file in one step.
  const std::string temporary =
      MakeUnderHiddenName(path, [this](const std::string& name) { return LinkDescriptor(fd_, name); });
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    ThrowSystemError(path, error);
  }
}

void OutputFile::MoveHidden(const std::string& path) {
  int error = 0;
  if (replace_) {
    if (::rename(hidden_path_.c_str(), path.c_str()) != 0) error = errno;
  } else {
    error = MoveWithoutReplacing(hidden_path_, path);
  }
  if (error != 0) ThrowSystemError(path, error);
  hidden_path_.clear();
}

}  // namespace tonvika
