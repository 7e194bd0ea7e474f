#pragma once
// One VOB file named by its path, with the IFO found beside it. Each size
// probe opens the file anew, and the window is read through the handle of
// the last one: the run probes, then takes the size again right before the
// read, and a file gone in between is reported, not read from its old handle.

#include <optional>
#include <string>

#include "analysis/video_object_source.h"
#include "io/read_only_file.h"

namespace tonvika {

class VobFileSource final : public VideoObjectSource {
 public:
  explicit VobFileSource(std::string path) : path_(std::move(path)) {}

  std::uint64_t Size() override;
  std::optional<InformationFile> ReadInformationFile() override;
  std::size_t ReadWindow(std::span<std::uint8_t> window) override;
  // The window is never larger than the size taken right before the read:
  // fewer bytes mean that the file shrank in between.
  std::optional<std::string> ShortReadCause() const override;
  std::unique_ptr<StreamReader> OpenStream() override;

 private:
  std::string path_;
  std::optional<ReadOnlyFile> file_;
  std::optional<std::string> short_read_;
};

}  // namespace tonvika
