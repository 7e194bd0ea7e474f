#include "analysis/vob_file_source.h"

#include "analysis/file_stream_reader.h"
#include "analysis/short_read.h"
#include "dvd/ifo_audio.h"

namespace tonvika {

std::uint64_t VobFileSource::Size() {
  file_.emplace(path_);
  return file_->Size();
}

std::optional<InformationFile> VobFileSource::ReadInformationFile() {
  const std::optional<std::string> ifo = FindIfoFile(DeriveIfoPath(path_));
  if (!ifo) return std::nullopt;
  return InformationFile{*ifo, ReadFileStart(*ifo, kMaxInformationFileSize)};
}

std::size_t VobFileSource::ReadWindow(std::span<std::uint8_t> window) {
  if (!file_) file_.emplace(path_);
  const std::size_t read = file_->ReadAt(0, window);
  short_read_.reset();
  if (read < window.size()) short_read_ = "the file ends at " + GroupedDigits(read) + " bytes, shorter than when the run began";
  return read;
}

std::optional<std::string> VobFileSource::ShortReadCause() const { return short_read_; }

std::unique_ptr<StreamReader> VobFileSource::OpenStream() { return std::make_unique<FileStreamReader>(path_); }

}  // namespace tonvika
