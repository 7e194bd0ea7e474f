#include "lang/language_table.h"

#include <sys/stat.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "io/file_error.h"
#include "io/read_only_file.h"
#include "lang/text_encoding.h"

namespace tonvika {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kTableFileName = "code.csv";
// A full table of two-letter codes with both names is some ten kilobytes.
constexpr std::size_t kMaxTableBytes = std::size_t{1} << 20;

// Bytes 1 to 32 separate fields like blanks do.
bool IsBlank(char c) {
  const auto byte = static_cast<std::uint8_t>(c);
  return byte >= 1 && byte <= 32;
}

// Reads the fields of one line one at a time, so that a lookup can stop after
// the few fields it needs however long the line is.
class FieldReader {
 public:
  explicit FieldReader(std::string_view line) : line_(line) { SkipBlanks(); }

  std::optional<std::string> Next() {
    if (pending_empty_) {
      pending_empty_ = false;
      return std::string();
    }
    if (AtEnd()) return std::nullopt;
    std::string field = line_[pos_] == '"' ? ReadQuoted() : ReadPlain();
    SkipBlanks();
    if (!AtEnd() && line_[pos_] == ',') {
      // A comma that ends the line still announces a (last, empty) field.
      pending_empty_ = pos_ + 1 == line_.size();
      ++pos_;
      SkipBlanks();
    }
    return field;
  }

 private:
  bool AtEnd() const { return pos_ >= line_.size(); }

  void SkipBlanks() {
    while (!AtEnd() && IsBlank(line_[pos_])) ++pos_;
  }

  // Up to the next comma or blank.
  std::string ReadPlain() {
    const std::size_t start = pos_;
    while (!AtEnd() && line_[pos_] != ',' && !IsBlank(line_[pos_])) ++pos_;
    return std::string(line_.substr(start, pos_ - start));
  }

  // From the opening quote to the next lone quote; a doubled quote stands for
  // one. Without a closing quote the rest of the line is the field.
  std::string ReadQuoted() {
    std::string field;
    ++pos_;
    while (!AtEnd()) {
      const char c = line_[pos_++];
      if (c != '"') {
        field.push_back(c);
      } else if (!AtEnd() && line_[pos_] == '"') {
        field.push_back('"');
        ++pos_;
      } else {
        break;
      }
    }
    return field;
  }

  std::string_view line_;
  std::size_t pos_ = 0;
  bool pending_empty_ = false;
};

// The text as UTF-8: a leading byte-order mark dropped, CP932 converted.
std::string ToUtf8(std::string_view content) {
  if (content.starts_with(kUtf8Bom)) content.remove_prefix(kUtf8Bom.size());
  if (IsValidUtf8(content)) return std::string(content);
  return Cp932ToUtf8(content);
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

[[noreturn]] void ThrowTooLarge(const std::string& path) {
  throw FileError(path, "too large for a language table (more than " +
                            std::to_string(kMaxTableBytes) + " bytes)");
}

// The whole file, refused when it is larger than any language table: the
// table is held several times over while it is converted and split, so a
// file named by mistake must not take memory in proportion to its size.
std::string ReadWholeFile(const std::string& path) {
  const ReadOnlyFile file(path);
  if (file.Size() > kMaxTableBytes) ThrowTooLarge(path);
  std::string content;
  std::array<std::uint8_t, 64 * 1024> block{};
  for (std::uint64_t offset = 0;;) {
    const std::size_t got = file.ReadAt(offset, block);
    if (got == 0) break;
    content.append(reinterpret_cast<const char*>(block.data()), got);
    offset += got;
    // The file may have grown since its size was taken.
    if (content.size() > kMaxTableBytes) ThrowTooLarge(path);
  }
  return content;
}

// The field to show for a line: field 3 of a line of exactly three fields for
// Japanese, field 2 of a line of two or more for English.
std::optional<std::string> NameOnLine(std::string_view line, std::string_view code,
                                      DisplayLanguage language) {
  FieldReader reader(line);
  const std::optional<std::string> first = reader.Next();
  if (!first || *first != code) return std::nullopt;
  std::optional<std::string> english = reader.Next();
  if (!english) return std::nullopt;
  if (language == DisplayLanguage::English) return english;
  std::optional<std::string> japanese = reader.Next();
  if (!japanese || reader.Next()) return std::nullopt;
  return japanese;
}

bool IsLanguageCode(std::string_view field) {
  constexpr std::size_t kShortest = 2;
  constexpr std::size_t kLongest = 3;
  return field.size() >= kShortest && field.size() <= kLongest &&
         std::all_of(field.begin(), field.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// A code and one or two names: the shape of every line of code.csv.
bool NamesALanguage(std::string_view line) {
  constexpr std::size_t kMostFields = 3;
  FieldReader reader(line);
  const std::optional<std::string> code = reader.Next();
  if (!code || !IsLanguageCode(*code)) return false;
  std::size_t names = 0;
  while (const std::optional<std::string> field = reader.Next()) {
    if (field->empty() || ++names >= kMostFields) return false;
  }
  return names > 0;
}

}  // namespace

std::vector<std::string> SplitLanguageLine(std::string_view line) {
  std::vector<std::string> fields;
  FieldReader reader(line);
  while (std::optional<std::string> field = reader.Next()) fields.push_back(std::move(*field));
  return fields;
}

LanguageTable ParseLanguageTable(std::string_view content) {
  return LanguageTable{SplitLines(ToUtf8(content))};
}

LanguageTable LoadLanguageTable(const std::string& path) {
  return ParseLanguageTable(ReadWholeFile(path));
}

std::string ProgramDirectory() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return std::string();
    if (static_cast<std::size_t>(length) < buffer.size()) {
      const std::string path(buffer.data(), static_cast<std::size_t>(length));
      return path.substr(0, path.rfind('/') + 1);
    }
    buffer.resize(buffer.size() * 2);  // the name may have been cut short
  }
}

std::string DefaultLanguageTablePath() {
  // Beside the program in the build tree; under share/tonvika when installed.
  const std::string beside = ProgramDirectory() + std::string(kTableFileName);
  const std::string installed = ProgramDirectory() + "../share/tonvika/" + std::string(kTableFileName);
  struct stat info {};
  if (::stat(beside.c_str(), &info) != 0 && ::stat(installed.c_str(), &info) == 0) return installed;
  return beside;
}

bool GivesLanguageNames(const LanguageTable& table) {
  return std::any_of(table.lines.begin(), table.lines.end(), [](const std::string& line) { return NamesALanguage(line); });
}

std::string LookupLanguageName(const LanguageTable& table, std::string_view code,
                               DisplayLanguage language) {
  for (const std::string& line : table.lines) {
    if (std::optional<std::string> name = NameOnLine(line, code, language)) return *name;
  }
  return std::string(code);
}

}  // namespace tonvika
