#include "extract/source_files.h"

#include <filesystem>

namespace tonvika {

namespace {

std::vector<std::string> FilesOfFolder(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code ec;
  for (const std::string& inside : {folder, folder + "/VIDEO_TS"}) {
    for (const auto& entry : std::filesystem::directory_iterator(inside, ec)) {
      if (entry.is_regular_file(ec)) files.push_back(entry.path().string());
    }
  }
  return files;
}

}  // namespace

std::vector<std::string> SourceFiles(const std::string& path, SourceKind kind) {
  if (kind == SourceKind::Folder) return FilesOfFolder(path);
  return {path};
}

}  // namespace tonvika
