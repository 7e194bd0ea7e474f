#include "io/disc_folder_files.h"

#include <stdlib.h>

#include <memory>
#include <string_view>

#include "io/ascii.h"
#include "io/disc_source.h"
#include "io/read_only_file.h"

namespace tonvika {

namespace {

constexpr std::string_view kVideoTsSuffix = "/video_ts";

struct FreeDeleter {
  void operator()(char* text) const { ::free(text); }
};

bool EndsInVideoTs(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  return path.size() >= kVideoTsSuffix.size() &&
         EqualsIgnoringAsciiCase(path.substr(path.size() - kVideoTsSuffix.size()), kVideoTsSuffix);
}

// libdvdread reads a folder from its real path, less a last component
// named VIDEO_TS in any case, and looks for each file there, then in its
// VIDEO_TS and video_ts folders. The folders are named here as the user
// named the disc, where the path allows.
std::vector<std::string> SearchedFolders(const std::string& folder) {
  const std::unique_ptr<char, FreeDeleter> real(::realpath(folder.c_str(), nullptr));
  if (!real) return {};
  std::string root = folder;
  if (EndsInVideoTs(real.get())) {
    std::string_view given = folder;
    while (given.size() > 1 && given.back() == '/') given.remove_suffix(1);
    const auto slash = given.rfind('/');
    if (!EndsInVideoTs("/" + std::string(given))) {
      root = real.get();  // a link named otherwise: its target's folder
      root.resize(root.size() - kVideoTsSuffix.size());
      if (root.empty()) root = "/";
    } else {
      root = slash == std::string_view::npos ? std::string() : std::string(given.substr(0, slash + 1));
    }
  }
  const std::string prefix = root.empty() || root.back() == '/' ? root : root + "/";
  return {root, prefix + "VIDEO_TS", prefix + "video_ts"};
}

}  // namespace

DiscFolderFiles::DiscFolderFiles(const std::string& folder) : folders_(SearchedFolders(folder)) {}

bool DiscFolderFiles::Check(const std::string& name) const {
  for (const std::string& folder : folders_) {
    const std::vector<std::string> entries = EntriesIgnoringCase(folder, name);
    if (entries.empty()) continue;
    // libdvdread takes the first its directory listing gives: any may be it.
    for (const std::string& entry : entries) ReadOnlyFile{entry};
    return true;
  }
  return false;
}

}  // namespace tonvika
