#include "io/dvd_reader.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "io/file_error.h"

namespace tonvika {

namespace {

constexpr const char* kRefused = "libdvdread cannot open it";
constexpr std::size_t kMaxMessages = 64;  // a damaged disc can make the library chatty
constexpr int kVobParts = 9;              // VTS_nn_1.VOB to VTS_nn_9.VOB
constexpr const char* kImageFolder = "/VIDEO_TS/";

void CollectMessage(void* sink, dvd_logger_level_t /*level*/, const char* format, va_list args) {
  std::array<char, 512> text{};
  std::vsnprintf(text.data(), text.size(), format, args);
  auto& lines = static_cast<DvdMessages*>(sink)->lines;
  if (lines.size() == kMaxMessages) lines.erase(lines.begin());
  lines.emplace_back(text.data());
}

// libdvdread reports a path it cannot stat with perror(), on our standard
// error, and takes a device it cannot open for "no disc"; the path is tried
// here first, so that the user hears the system's reason instead. True for
// a folder.
bool CheckReadable(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) throw FileError(path, std::strerror(errno));
  if (S_ISDIR(info.st_mode)) {
    if (::access(path.c_str(), R_OK | X_OK) != 0) throw FileError(path, std::strerror(errno));
    return true;
  }
  if (!S_ISREG(info.st_mode) && !S_ISBLK(info.st_mode)) throw FileError(path, "not a DVD folder, image or drive");
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw FileError(path, std::strerror(errno));
  ::close(fd);
  return false;
}

// The header, then the tables the program reads; the rest stay unread. A
// table that cannot be read is not looked for in the backup: libdvdread
// opens the backup's header alone only when the IFO's cannot be read.
IfoHandle ReadTables(IfoHandle ifo, int title_set) {
  const DvdReadLibrary& dvdread = *LoadDvdRead();
  if (!ifo) return ifo;
  const bool read = title_set == 0 ? dvdread.read_title_table(ifo.get()) != 0
                                   : dvdread.read_part_of_title_table(ifo.get()) != 0 &&
                                         dvdread.read_program_chain_table(ifo.get()) != 0;
  return read ? std::move(ifo) : IfoHandle();
}

}  // namespace

std::string DiscFileName(int title_set, int part, const char* extension) {
  char name[16];
  if (title_set == 0) {
    std::snprintf(name, sizeof name, "VIDEO_TS.%s", extension);
  } else {
    std::snprintf(name, sizeof name, "VTS_%02d_%d.%s", title_set, part, extension);
  }
  return name;
}

DvdReader::DvdReader(const std::string& path) : path_(path), messages_(std::make_unique<DvdMessages>()) {
  if (CheckReadable(path_)) folder_files_.emplace(path_);
  std::string missing;
  const DvdReadLibrary* dvdread = LoadDvdRead(&missing);
  if (dvdread == nullptr) throw FileError(path_, "libdvdread is needed to read a disc: " + missing);
  const dvd_logger_cb logger{CollectMessage};
  reader_.reset(dvdread->open(messages_.get(), &logger, path_.c_str()));
  if (!reader_) {
    const std::string last = LastMessage();
    throw FileError(path_, last.empty() ? kRefused : last);
  }
}

void DvdReader::CheckFolderFiles(int title_set, dvd_read_domain_t domain) const {
  if (!folder_files_) return;
  switch (domain) {
    case DVD_READ_INFO_FILE:
      folder_files_->Check(DiscFileName(title_set, 0, "IFO"));
      return;
    case DVD_READ_INFO_BACKUP_FILE:
      folder_files_->Check(DiscFileName(title_set, 0, "BUP"));
      return;
    case DVD_READ_MENU_VOBS:
      folder_files_->Check(DiscFileName(title_set, 0, "VOB"));
      return;
    case DVD_READ_TITLE_VOBS:
      // libdvdread stops at the first part that is missing.
      for (int part = 1; part <= kVobParts && folder_files_->Check(DiscFileName(title_set, part, "VOB")); ++part) {
      }
      return;
  }
}

IfoHandle DvdReader::OpenIfo(int title_set) const {
  CheckFolderFiles(title_set, DVD_READ_INFO_FILE);
  CheckFolderFiles(title_set, DVD_READ_INFO_BACKUP_FILE);
  const DvdReadLibrary& dvdread = *LoadDvdRead();
  // Both fall back to the backup when the IFO's header cannot be read.
  IfoHandle ifo(title_set == 0 ? dvdread.ifo_open_vmgi(reader_.get()) : dvdread.ifo_open_vtsi(reader_.get(), title_set));
  return ReadTables(std::move(ifo), title_set);
}

DvdFile DvdReader::OpenFile(int title_set, dvd_read_domain_t domain) const {
  CheckFolderFiles(title_set, domain);
  return DvdFile(LoadDvdRead()->open_file(reader_.get(), title_set, domain));
}

std::optional<std::uint64_t> DvdReader::ImageBytes() const {
  if (folder_files_) return std::nullopt;
  struct stat info {};
  if (::stat(path_.c_str(), &info) != 0) return std::nullopt;
  if (S_ISREG(info.st_mode)) return static_cast<std::uint64_t>(info.st_size);
  const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::uint64_t bytes = 0;
  const bool known = ::ioctl(fd, BLKGETSIZE64, &bytes) == 0;
  ::close(fd);
  return known ? std::optional<std::uint64_t>(bytes) : std::nullopt;
}

std::optional<ImageExtent> DvdReader::FindInImage(const std::string& name) const {
  if (folder_files_) return std::nullopt;
  std::uint32_t size = 0;
  const std::string path = kImageFolder + name;
  const std::uint32_t block = LoadDvdRead()->find_image_file(reader_.get(), path.c_str(), &size);
  if (block == 0) return std::nullopt;
  return ImageExtent{std::uint64_t{block} * kDvdBlockSize, size};
}

std::string DvdReader::LastMessage() const {
  return messages_->lines.empty() ? std::string() : messages_->lines.back();
}

std::uint64_t DvdFileBytes(dvd_file_t& file) {
  const ssize_t blocks = LoadDvdRead()->file_size(&file);
  return blocks > 0 ? static_cast<std::uint64_t>(blocks) * kDvdBlockSize : 0;
}

std::size_t ReadDvdBlocks(dvd_file_t& file, std::uint32_t first_block, std::span<std::uint8_t> out) {
  const std::size_t blocks = out.size() / kDvdBlockSize;
  std::size_t done = 0;
  // libdvdread joins at most two of a title set's VOB files in one call, so
  // a window over three files takes several calls; each asks for the rest.
  while (done < blocks) {
    const ssize_t got = LoadDvdRead()->read_blocks(&file, static_cast<int>(first_block + done), blocks - done,
                                      out.data() + done * kDvdBlockSize);
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done * kDvdBlockSize;
}

std::optional<std::vector<std::uint8_t>> ReadDvdFileBytes(dvd_file_t& file, std::size_t max_size) {
  const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(DvdFileBytes(file), max_size));
  if (size == 0) return std::nullopt;
  std::vector<std::uint8_t> bytes(size);
  if (LoadDvdRead()->file_seek(&file, 0) != 0) return std::nullopt;
  if (LoadDvdRead()->read_bytes(&file, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) return std::nullopt;
  return bytes;
}

}  // namespace tonvika
