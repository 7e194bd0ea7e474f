#pragma once
// The one file an extraction writes. It has no name until Commit: it is made
// unnamed in its folder (O_TMPFILE) and linked under its name at the end, so
// a failed, cancelled or killed run leaves nothing behind, and a file that
// appears under that name meanwhile is never replaced unless asked.
//
// Where the file system cannot make unnamed files, the file is made under a
// hidden name beside its own (.NAME.XXXXXX), removed unless committed, and
// moved under its name without replacing one that appeared meanwhile; only a
// killed run can leave that hidden file behind.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tonvika {

class OutputFile;

namespace detail {
// The hidden-name way on any file system, so that it can be tested.
OutputFile MakeHiddenOutputFile(std::string path, bool replace);
}  // namespace detail

class OutputFile {
 public:
  // Throws FileError(path, "file exists") when `path` exists and `replace`
  // is false, and FileError with the system's reason when its folder cannot
  // take a new file.
  OutputFile(std::string path, bool replace);
  ~OutputFile();  // without Commit: nothing is left

  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Buffered (about 1 MiB). Throws FileError on a failed write ("File too
  // large" past `ulimit -f`, "No space left on device", ...).
  void Write(std::span<const std::uint8_t> bytes);

  // Rewrites bytes already written (a header patched at the end); flushes
  // first. Throws std::out_of_range when the bytes were not all written yet.
  void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);

  // Bytes written so far, buffered ones included.
  std::uint64_t Size() const { return flushed_ + buffer_.size(); }

  // Flushes and gives the file its name. Throws FileError when the data
  // cannot be written, or the name was taken meanwhile and `replace` is
  // false ("file exists"). Once committed, the file stays.
  void Commit();
  // The same under a name settled only at the end (it must be on the same
  // file system, best in the same folder); Path() gives it from then on.
  void Commit(std::string path);

  const std::string& Path() const { return path_; }

 private:
  enum class Naming { Unnamed, Hidden };
  OutputFile(std::string path, bool replace, Naming naming);
  friend OutputFile detail::MakeHiddenOutputFile(std::string path, bool replace);

  void Flush();
  void WriteAll(const std::uint8_t* data, std::size_t size, std::uint64_t offset);
  void LinkUnnamed(const std::string& path);
  void MoveHidden(const std::string& path);

  std::string path_;
  bool replace_;
  int fd_ = -1;
  std::string hidden_path_;  // the hidden name in use, until committed
  std::vector<std::uint8_t> buffer_;
  std::uint64_t flushed_ = 0;
  bool committed_ = false;
};

}  // namespace tonvika
