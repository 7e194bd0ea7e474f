#include "io/disc_source.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "io/ascii.h"
#include "io/file_error.h"
#include "io/read_only_file.h"

namespace tonvika {

namespace {

constexpr std::uint64_t kDescriptorsOffset = 16 * 2048;
constexpr std::size_t kSectorSize = 2048;
constexpr std::size_t kDescriptorSectors = 3;
constexpr std::string_view kIsoIdentifier = "CD001";
constexpr std::string_view kUdfIdentifiers[] = {"BEA01", "NSR02", "NSR03"};
// Files the run takes by their name, whatever they hold.
constexpr std::string_view kFileExtensions[] = {".vob", ".ac3", ".dts"};
constexpr std::string_view kVideoTs = "VIDEO_TS";
constexpr std::string_view kVideoTsIfo = "VIDEO_TS.IFO";

bool HasFileExtension(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string_view extension = std::string_view(name).substr(dot);
  return std::any_of(std::begin(kFileExtensions), std::end(kFileExtensions),
                     [&](std::string_view known) { return EqualsIgnoringAsciiCase(extension, known); });
}

std::string_view IdentifierAt(std::span<const std::uint8_t> bytes, std::size_t sector) {
  const std::size_t at = sector * kSectorSize + 1;
  if (bytes.size() < at + kIsoIdentifier.size()) return {};
  return {reinterpret_cast<const char*>(bytes.data() + at), kIsoIdentifier.size()};
}

bool HoldsFileSystem(const std::string& path) {
  try {
    const ReadOnlyFile file(path);
    std::array<std::uint8_t, kDescriptorSectors * kSectorSize> sectors{};
    const std::size_t got = file.ReadAt(kDescriptorsOffset, sectors);
    return HoldsVolumeDescriptors(std::span(sectors).first(got));
  } catch (const FileError&) {
    return false;  // the file run says why it cannot be read
  }
}

bool IsDirectory(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

// The name of the last component of a path, trailing slashes ignored.
std::string_view LastComponent(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string Join(const std::string& folder, std::string_view name) {
  if (folder.empty() || folder.back() == '/') return folder + std::string(name);
  return folder + "/" + std::string(name);
}

// The paths of the entries named `name` in any case, byte-wise ordered.
std::vector<std::string> MatchingEntries(const std::string& folder, const std::string& name, EntryFilter filter) {
  std::error_code error;
  std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
  if (error) return {};
  std::vector<std::string> matches;
  for (const auto end = std::filesystem::directory_iterator(); !error && entries != end; entries.increment(error)) {
    std::string entry = entries->path().filename().string();
    if (!EqualsIgnoringAsciiCase(entry, name)) continue;
    std::error_code type_error;
    if (filter == EntryFilter::RegularFiles && !entries->is_regular_file(type_error)) continue;
    matches.push_back(std::move(entry));
  }
  std::sort(matches.begin(), matches.end());
  for (std::string& match : matches) match = Join(folder, match);
  return matches;
}

}  // namespace

bool HoldsVolumeDescriptors(std::span<const std::uint8_t> from_sector_16) {
  if (IdentifierAt(from_sector_16, 0) == kIsoIdentifier) return true;
  for (std::size_t sector = 0; sector < kDescriptorSectors; ++sector) {
    const std::string_view id = IdentifierAt(from_sector_16, sector);
    if (std::find(std::begin(kUdfIdentifiers), std::end(kUdfIdentifiers), id) != std::end(kUdfIdentifiers)) {
      return true;
    }
  }
  return false;
}

SourceKind RecogniseSource(const std::string& path) {
  // A name the file run takes keeps it, whatever the path is (a folder
  // named movie.vob is still "not a regular file").
  if (HasFileExtension(path)) return SourceKind::File;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return SourceKind::File;
  if (S_ISDIR(info.st_mode)) return SourceKind::Folder;
  if (S_ISBLK(info.st_mode)) return SourceKind::Drive;
  if (!S_ISREG(info.st_mode)) return SourceKind::File;
  return HoldsFileSystem(path) ? SourceKind::Image : SourceKind::File;
}

std::vector<std::string> EntriesIgnoringCase(const std::string& folder, const std::string& name) {
  return MatchingEntries(folder, name, EntryFilter::AnyEntry);
}

std::optional<std::string> FindEntryIgnoringCase(const std::string& folder, const std::string& name,
                                                 EntryFilter filter) {
  const std::vector<std::string> matches = MatchingEntries(folder, name, filter);
  if (matches.empty()) return std::nullopt;
  return matches.front();
}

std::optional<std::string> FindVideoTsFolder(const std::string& folder) {
  const auto ifo = FindEntryIgnoringCase(folder, std::string(kVideoTsIfo));
  if ((ifo && !IsDirectory(*ifo)) || EqualsIgnoringAsciiCase(LastComponent(folder), kVideoTs)) return folder;
  const auto sub = FindEntryIgnoringCase(folder, std::string(kVideoTs));
  if (sub && IsDirectory(*sub)) return sub;
  return std::nullopt;
}

}  // namespace tonvika
