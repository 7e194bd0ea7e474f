#include "cli/streams_table.h"

#include <algorithm>
#include <array>
#include <vector>

#include "view/stream_rows.h"

namespace tonvika::cli {

namespace {

constexpr std::size_t kColumns = 11;
using Cells = std::array<std::string, kColumns>;
const Cells kHeadings{"id",     "kind",     "summary",    "language", "packets", "frames",
                      "length", "crc errors", "resyncs", "delay",    "slot"};
constexpr std::size_t kGap = 2;

// The code point of the UTF-8 sequence at text[i], and its length; a byte
// that starts no valid sequence counts as one narrow character.
std::pair<char32_t, std::size_t> CodePointAt(std::string_view text, std::size_t i) {
  const auto byte = static_cast<unsigned char>(text[i]);
  const std::size_t length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
  if (length == 1 || i + length > text.size()) return {byte, 1};
  char32_t code = byte & (0xFF >> (length + 1));
  for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
  return {code, length};
}

// Hangul Jamo, CJK and Hangul syllables, CJK compatibility, full-width forms.
bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

Cells CellsOf(const StreamRow& row) {
  return {row.id,       row.kind,       row.summary, row.language, row.packets, row.frames,
          row.duration, row.crc_errors, row.resyncs, row.delay,    row.slot};
}

std::string Line(const Cells& cells, const std::array<std::size_t, kColumns>& widths, std::string_view eol) {
  std::string line;
  for (std::size_t c = 0; c < kColumns; ++c) {
    line += cells[c];
    if (c + 1 < kColumns) line.append(widths[c] - DisplayWidth(cells[c]) + kGap, ' ');
  }
  return line + std::string(eol);
}

}  // namespace

std::size_t DisplayWidth(std::string_view text) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto [code, length] = CodePointAt(text, i);
    width += IsWide(code) ? 2 : 1;
    i += length;
  }
  return width;
}

std::string FormatStreamsTable(const AnalysisReport& report, const LanguageTable& table, DisplayLanguage language,
                               std::string_view eol) {
  std::string text = "Streams" + std::string(eol);
  const std::vector<StreamRow> rows =
      StreamRows(report, [&](const std::string& code) { return LookupLanguageName(table, code, language); });
  if (rows.empty()) return text + "(none)" + std::string(eol);
  std::vector<Cells> lines{kHeadings};
  for (const StreamRow& row : rows) lines.push_back(CellsOf(row));
  std::array<std::size_t, kColumns> widths{};
  for (const Cells& cells : lines) {
    for (std::size_t c = 0; c < kColumns; ++c) widths[c] = std::max(widths[c], DisplayWidth(cells[c]));
  }
  for (const Cells& cells : lines) text += Line(cells, widths, eol);
  // Each change of a stream's header, under the table.
  for (const StreamRow& row : rows) {
    for (const std::string& change : row.changes) text += row.id + " changes: " + change + std::string(eol);
  }
  return text;
}

}  // namespace tonvika::cli
