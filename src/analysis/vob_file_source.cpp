#include "analysis/vob_file_source.h"

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
  return file_->ReadAt(0, window);
}

}  // namespace tonvika
