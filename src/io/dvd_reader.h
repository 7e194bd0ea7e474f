#pragma once
// A DVD-Video disc as libdvdread reads it: a VIDEO_TS folder, an image or a
// drive. Each libdvdread handle is owned by one object that closes it; the
// library's own messages are collected here instead of reaching standard
// error. Everything is opened for reading only.

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>

#include "io/dvdread_library.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tonvika {

inline constexpr std::size_t kDvdBlockSize = DVD_VIDEO_LB_LEN;

// A handle exists only once the library is loaded (DvdReader loads it).
struct DvdFileCloser {
  void operator()(dvd_file_t* file) const { LoadDvdRead()->close_file(file); }
};
struct IfoCloser {
  void operator()(ifo_handle_t* ifo) const { LoadDvdRead()->ifo_close(ifo); }
};
struct DvdReaderCloser {
  void operator()(dvd_reader_t* reader) const { LoadDvdRead()->close(reader); }
};

using DvdFile = std::unique_ptr<dvd_file_t, DvdFileCloser>;
using IfoHandle = std::unique_ptr<ifo_handle_t, IfoCloser>;

// What libdvdread said while a reader was open, oldest first.
struct DvdMessages {
  std::vector<std::string> lines;
};

class DvdReader {
 public:
  // Opens `path` (a VIDEO_TS folder, a DVD image or a block device). Throws
  // FileError with the system's reason when the path cannot be opened for
  // reading (a drive without a disc gives "No medium found"), or with
  // libdvdread's last message when the library refuses it, or when
  // libdvdread itself cannot be loaded.
  explicit DvdReader(const std::string& path);

  const std::string& Path() const { return path_; }

  // The information tables of title set n (0: VIDEO_TS.IFO), from the IFO or
  // else its backup; nothing when neither can be read.
  IfoHandle OpenIfo(int title_set) const;

  // A file of the disc (libdvdread's domains); nothing when it is missing.
  DvdFile OpenFile(int title_set, dvd_read_domain_t domain) const;

  // The last message libdvdread gave, or empty.
  std::string LastMessage() const;

 private:
  std::string path_;
  std::unique_ptr<DvdMessages> messages_;  // outlives reader_, which writes to it
  std::unique_ptr<dvd_reader_t, DvdReaderCloser> reader_;
};

// The file's size in bytes (whole 2048-byte blocks).
std::uint64_t DvdFileBytes(dvd_file_t& file);

// Fills `out` with whole blocks from block `first_block` on: exactly
// out.size() / 2048 blocks are asked for, never more; a tail shorter than a
// block is left as it is. Returns the bytes delivered (fewer at the end of
// the file or on a read error).
std::size_t ReadDvdBlocks(dvd_file_t& file, std::uint32_t first_block, std::span<std::uint8_t> out);

// The whole file (an IFO or BUP), at most `max_size` bytes; nothing when it
// cannot be read.
std::optional<std::vector<std::uint8_t>> ReadDvdFileBytes(dvd_file_t& file, std::size_t max_size);

}  // namespace tonvika
