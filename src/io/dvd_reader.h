#pragma once
// A DVD-Video disc as libdvdread reads it: a VIDEO_TS folder, an image or a
// drive. Each libdvdread handle is owned by one object that closes it; the
// library's own messages are collected here instead of reaching standard
// error. Everything is opened for reading only.

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>

#include "io/disc_folder_files.h"
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

// "VIDEO_TS.IFO" for title set 0, else "VTS_nn_k.EXT" (nn two digits).
std::string DiscFileName(int title_set, int part, const char* extension);

// Where a file lies in a disc image, in bytes.
struct ImageExtent {
  std::uint64_t start = 0;
  std::uint64_t size = 0;
};

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
  // else its backup: the header and only the tables the program reads (the
  // title table of VIDEO_TS.IFO; a title set's part-of-title and program
  // chain tables). Nothing when they cannot be read. In a folder, throws
  // FileError when the IFO or BUP is there but not a regular file.
  IfoHandle OpenIfo(int title_set) const;

  // A file of the disc (libdvdread's domains); nothing when it is missing.
  // In a folder, throws FileError when one of the files libdvdread would
  // open for it (the title VOBs: every part up to the first missing one) is
  // not a regular file that can be read.
  DvdFile OpenFile(int title_set, dvd_read_domain_t domain) const;

  // An image's (or a drive's) size in bytes; nothing for a folder or when
  // it cannot be told.
  std::optional<std::uint64_t> ImageBytes() const;
  // Where /VIDEO_TS/`name` lies in an image or on a drive; nothing for a
  // folder or a file the image does not have.
  std::optional<ImageExtent> FindInImage(const std::string& name) const;

  // The last message libdvdread gave, or empty.
  std::string LastMessage() const;

 private:
  // libdvdread opens a folder's files by itself; they are looked at first.
  void CheckFolderFiles(int title_set, dvd_read_domain_t domain) const;

  std::string path_;
  std::optional<DiscFolderFiles> folder_files_;  // a folder's; nothing for an image or a drive
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
