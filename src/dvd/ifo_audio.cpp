#include "dvd/ifo_audio.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "dvd/ifo_bytes.h"
#include "io/ascii.h"
#include "io/disc_source.h"
#include "io/read_only_file.h"
#include "lang/text_encoding.h"

namespace tonvika {

namespace {

// Separators of the folder part: Windows paths as well as Linux ones.
constexpr std::string_view kSeparators = "\\:/";
constexpr std::string_view kIfoExtension = ".ifo";
constexpr std::string_view kBackupExtension = ".BUP";

constexpr std::uint8_t kLanguagePresent = 0x04;  // lower bit of the language type
constexpr std::size_t kCodeByte = 2;            // two code bytes from here
constexpr const char* kNoLanguage = "none";

bool IsSeparator(char c) { return kSeparators.find(c) != std::string_view::npos; }

// The path without the file name's extension (from its last '.').
std::string_view WithoutExtension(std::string_view path) {
  const std::size_t last = path.find_last_of(std::string(kSeparators) + ".");
  if (last == std::string_view::npos || path[last] != '.') return path;
  return path.substr(0, last);
}

bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

// The code bytes up to the first zero byte; bytes outside ASCII are CP932.
std::string CodeText(const std::uint8_t* bytes) {
  std::string code;
  for (std::size_t i = 0; i < 2 && bytes[i] != 0; ++i) code.push_back(static_cast<char>(bytes[i]));
  const bool ascii = std::all_of(code.begin(), code.end(),
                                 [](char c) { return static_cast<std::uint8_t>(c) < 0x80; });
  return ascii ? code : Cp932ToUtf8(code);
}

}  // namespace

std::string DeriveIfoPath(const std::string& vob_path) {
  const std::string_view base = WithoutExtension(vob_path);
  // Nothing of a name left (".vob", "dir/.vob"): never eat into the folder.
  if (base.empty() || IsSeparator(base.back())) return std::string(base) + "0.ifo";
  const std::size_t last_length = LastUtf8CharLength(base);
  const std::string_view last = base.substr(base.size() - last_length);
  if (last == "S" || last == "0") return std::string(base) + std::string(kIfoExtension);
  return std::string(base.substr(0, base.size() - last_length)) + "0" +
         std::string(kIfoExtension);
}

std::optional<std::string> FindIfoFile(const std::string& derived_path) {
  if (IsRegularFile(derived_path)) return derived_path;
  const std::size_t slash = derived_path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : derived_path.substr(0, slash + 1);
  const std::string name = derived_path.substr(folder.size());
  if (name.empty()) return std::nullopt;
  if (auto found = FindEntryIgnoringCase(folder, name, EntryFilter::RegularFiles)) return found;

  const std::string_view name_view = name;
  if (name_view.size() < kIfoExtension.size() ||
      !EqualsIgnoringAsciiCase(name_view.substr(name_view.size() - kIfoExtension.size()),
                               kIfoExtension)) {
    return std::nullopt;
  }
  const std::string backup =
      std::string(name_view.substr(0, name_view.size() - kIfoExtension.size())) +
      std::string(kBackupExtension);
  return FindEntryIgnoringCase(folder, backup, EntryFilter::RegularFiles);
}

LanguageCodes AudioLanguageCodes(std::span<const std::uint8_t> ifo) {
  // All eight entries, whatever the count says: a free slot shows entry n.
  const AudioAttributeTable table = IfoBytes(ifo).AudioTable();
  LanguageCodes codes;
  for (std::size_t k = 0; k < kIfoAudioEntryCount; ++k) {
    const AudioAttributeEntry& entry = table[k];
    codes[k] = (entry[0] & kLanguagePresent) != 0 ? CodeText(entry.data() + kCodeByte) : kNoLanguage;
  }
  return codes;
}

LanguageCodes ReadAudioLanguageCodes(const std::string& ifo_path) {
  return AudioLanguageCodes(ReadFileStart(ifo_path, kIfoAudioTableOffset + kIfoAudioEntrySize * kIfoAudioEntryCount));
}

}  // namespace tonvika
