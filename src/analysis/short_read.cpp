#include "analysis/short_read.h"

#include <algorithm>

namespace tonvika {

namespace {

constexpr int kVobParts = 9;

}  // namespace

std::string GroupedDigits(std::uint64_t number) {
  std::string digits = std::to_string(number);
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<std::size_t>(at), ",");
  return digits;
}

RunNote ShortReadNote(const std::string& cause, std::uint64_t got, std::uint64_t wanted) {
  return {NoteCode::ShortRead, std::nullopt,
          cause + ": only the first " + GroupedDigits(got) + " of the " + GroupedDigits(wanted) +
              " bytes of the read window could be read, and the results are of those alone"};
}

bool ReadShort(const std::vector<RunNote>& notes) {
  return std::any_of(notes.begin(), notes.end(), [](const RunNote& note) { return note.code == NoteCode::ShortRead; });
}

std::string NothingReadReason(const std::string& cause, std::uint64_t wanted) {
  return cause + ": none of the " + GroupedDigits(wanted) + " bytes of the read window could be read";
}

std::optional<std::string> ImageEndCause(const DvdReader& disc, int title_set) {
  const std::optional<std::uint64_t> image = disc.ImageBytes();
  if (!image) return std::nullopt;
  for (int part = 1; part <= kVobParts; ++part) {
    const std::string name = DiscFileName(title_set, part, "VOB");
    const std::optional<ImageExtent> extent = disc.FindInImage(name);
    if (!extent) break;
    if (extent->start + extent->size <= *image) continue;
    return "the image ends at " + GroupedDigits(*image) + " bytes; " + name + " needs " +
           GroupedDigits(extent->size) + " bytes from " + GroupedDigits(extent->start);
  }
  return std::nullopt;
}

}  // namespace tonvika
