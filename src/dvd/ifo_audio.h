#pragma once
// Language codes of the eight audio streams from a title set's IFO file.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tonvika {

using LanguageCodes = std::array<std::string, 8>;

// The information file's path for a video object file's path (pure).
std::string DeriveIfoPath(const std::string& vob_path);

// The information file to read for a derived path: the path itself when it is
// a regular file; otherwise, in its folder, a regular file whose name equals
// the derived name ignoring ASCII case, then the same for the ".BUP" name.
// Empty when there is none.
std::optional<std::string> FindIfoFile(const std::string& derived_path);

// The eight codes from the audio attribute table of an information file's
// bytes: the code (0 to 2 characters, UTF-8) or "none". Bytes past the end
// read as zero.
LanguageCodes AudioLanguageCodes(std::span<const std::uint8_t> ifo);

// The same, read from the file. Throws FileError when it cannot be opened.
LanguageCodes ReadAudioLanguageCodes(const std::string& ifo_path);

}  // namespace tonvika
