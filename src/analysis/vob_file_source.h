#pragma once
// One VOB file named by its path, with the IFO found beside it.

#include <string>

#include "analysis/video_object_source.h"

namespace tonvika {

class VobFileSource final : public VideoObjectSource {
 public:
  explicit VobFileSource(std::string path) : path_(std::move(path)) {}

  std::uint64_t Size() override;
  std::optional<InformationFile> ReadInformationFile() override;
  std::size_t ReadWindow(std::span<std::uint8_t> window) override;

 private:
  std::string path_;
};

}  // namespace tonvika
