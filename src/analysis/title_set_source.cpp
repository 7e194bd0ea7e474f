#include "analysis/title_set_source.h"

#include <utility>

#include "analysis/short_read.h"
#include "analysis/title_stream_reader.h"
#include "dvd/ifo_tables.h"
#include "dvd/title_stream.h"
#include "io/file_error.h"

namespace tonvika {

namespace {

constexpr const char* kNoTitleVobs = "the title set's VOBs cannot be opened";
constexpr const char* kNoInformation = "cannot be read, nor its backup";

}  // namespace

dvd_file_t& TitleSetSource::TitleVobs() {
  if (!vobs_) vobs_ = disc_.OpenFile(title_set_, DVD_READ_TITLE_VOBS);
  if (!vobs_) throw FileError(paths_.vob, kNoTitleVobs);
  return *vobs_;
}

std::uint64_t TitleSetSource::Size() {
  if (reading_.cells.empty()) return DvdFileBytes(TitleVobs());
  DvdFileBlocks blocks(TitleVobs());
  return TitleStream(blocks, reading_.cells).Bytes();
}

std::optional<InformationFile> TitleSetSource::ReadInformationFile() {
  const std::pair<dvd_read_domain_t, const std::string*> files[] = {
      {DVD_READ_INFO_FILE, &paths_.ifo}, {DVD_READ_INFO_BACKUP_FILE, &paths_.backup}};
  for (const auto& [domain, path] : files) {
    const DvdFile file = disc_.OpenFile(title_set_, domain);
    if (!file) continue;
    auto bytes = ReadDvdFileBytes(*file, kMaxInformationFileSize);
    if (bytes && IsInformationFile(*bytes, title_set_)) return InformationFile{*path, std::move(*bytes), reading_.title_chain};
  }
  throw FileError(paths_.ifo, kNoInformation);
}

std::size_t TitleSetSource::ReadWindow(std::span<std::uint8_t> window) {
  if (reading_.cells.empty()) {
    // The window never reaches past the VOBs' size: fewer blocks is a failed read.
    const std::size_t read = ReadDvdBlocks(TitleVobs(), 0, window);
    short_read_ = read < window.size() / kDvdBlockSize * kDvdBlockSize;
    return read;
  }
  DvdFileBlocks blocks(TitleVobs());
  TitleStream title(blocks, reading_.cells);
  const std::size_t read = title.Read(window);
  short_read_ = title.Stopped();
  return read;
}

std::optional<std::string> TitleSetSource::ShortReadCause() const {
  if (!short_read_) return std::nullopt;
  return ImageEndCause(disc_, title_set_).value_or("a read of the title set's VOBs failed");
}

std::optional<std::string> TitleSetSource::ReadingNote() const {
  if (!reading_.cells.empty()) return std::nullopt;
  return "no program chain to follow (" + reading_.as_stored_reason +
         "): the title set's VOBs are read as they are stored, from the first on";
}

std::unique_ptr<StreamReader> TitleSetSource::OpenStream() {
  DvdFile vobs = disc_.OpenFile(title_set_, DVD_READ_TITLE_VOBS);
  if (!vobs) throw FileError(paths_.vob, kNoTitleVobs);
  const DvdReader* disc = &disc_;
  const int title_set = title_set_;
  return std::make_unique<TitleStreamReader>(std::move(vobs), reading_.cells,
                                             [disc, title_set] { return ImageEndCause(*disc, title_set); });
}

}  // namespace tonvika
