#include "analysis/vob_file_source.h"

#include "analysis/ifo_audio.h"

namespace tonvika {

const ReadOnlyFile& VobFileSource::File() {
  if (!file_) file_.emplace(path_);
  return *file_;
}

std::uint64_t VobFileSource::Size() { return File().Size(); }

std::optional<InformationFile> VobFileSource::ReadInformationFile() {
  const std::optional<std::string> ifo = FindIfoFile(DeriveIfoPath(path_));
  if (!ifo) return std::nullopt;
  return InformationFile{*ifo, ReadFileStart(*ifo, kMaxInformationFileSize)};
}

std::size_t VobFileSource::ReadWindow(std::span<std::uint8_t> window) {
  return File().ReadAt(0, window);
}

}  // namespace tonvika
