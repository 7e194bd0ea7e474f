#pragma once
// A read that came back short of what the source said it holds: a cut
// image, a VOB that shrank, a failing drive. The run shows what was read and
// says that it is partial; when nothing was read the source is not analysed.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/stream_notes.h"
#include "io/dvd_reader.h"

namespace tonvika {

// "2,412,544": a byte count as the short-read texts give it.
std::string GroupedDigits(std::uint64_t number);

// The note for a window of which only `got` of `wanted` bytes came back;
// `cause` says where the source's bytes end.
RunNote ShortReadNote(const std::string& cause, std::uint64_t got, std::uint64_t wanted);

// Whether the notes say that a read came back short.
bool ReadShort(const std::vector<RunNote>& notes);

// FileError's reason when none of the `wanted` bytes came back.
std::string NothingReadReason(const std::string& cause, std::uint64_t wanted);

// Where an image (or a drive) ends before the title VOBs of `title_set`
// do: "the image ends at 2,412,544 bytes; VTS_02_1.VOB needs 4,030,464
// bytes from 2,412,544", for the first part that reaches past the end;
// nothing for a folder, or when every part lies inside.
std::optional<std::string> ImageEndCause(const DvdReader& disc, int title_set);

}  // namespace tonvika
