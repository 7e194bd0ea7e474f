#include "analysis/vob_file_source.h"

#include "analysis/ifo_audio.h"
#include "io/read_only_file.h"

namespace tonvika {

std::uint64_t VobFileSource::Size() { return ReadOnlyFile(path_).Size(); }

std::optional<InformationFile> VobFileSource::ReadInformationFile() {
  const std::optional<std::string> ifo = FindIfoFile(DeriveIfoPath(path_));
  if (!ifo) return std::nullopt;
  return InformationFile{*ifo, ReadFileStart(*ifo, kMaxInformationFileSize)};
}

std::size_t VobFileSource::ReadWindow(std::span<std::uint8_t> window) {
  return ReadOnlyFile(path_).ReadAt(0, window);
}

}  // namespace tonvika
