#pragma once
// The name an extracted stream's file gets when none is given: what a
// muxing tool reads from it (the delay above all) and what a person looks
// for, as in "VTS_02 T80 ja 3_2ch 448Kbps DELAY -5ms.ac3".

#include <cstdint>
#include <optional>
#include <string>

#include "codecs/header_values.h"
#include "io/disc_source.h"
#include "mpeg/stream_kind.h"

namespace tonvika {

struct NameParts {
  std::string base;  // FileBase or DiscBase
  int key = 0x80;    // sub-stream number or MPEG audio stream id
  StreamKind kind = StreamKind::Ac3;
  std::string language;  // the IFO's code; empty or "none" when there is none
  std::optional<TrackHeader> header;
  std::optional<std::int64_t> delay_ms;
};

std::string DefaultFileName(const NameParts& parts);

// ".ac3", ".dts", ".wav" (LPCM), ".mpa" (MPEG audio).
std::string ExtractedExtension(StreamKind kind);

// "3_2ch", "1+1ch", "2_0ch"; nothing where the header does not tell.
std::optional<std::string> LayoutPart(const TrackHeader& header);
// Kilobits per second, as "448Kbps"; LPCM's from its word length, rate
// and channels; nothing where the header does not tell (DTS open rates).
std::optional<std::string> RatePart(const TrackHeader& header);
// The language code with only the characters that are safe in any file
// name (ASCII letters, digits, '-'); empty for "none".
std::string SafeLanguage(const std::string& code);

// A VOB file's name without its folder and extension: "VTS_02_1".
std::string FileBase(const std::string& path);
// A disc's name (its folder, or the folder above VIDEO_TS; an image's
// name without its extension; a drive's device name) with the title set
// and the title: "movie VTS_02 title 3".
std::string DiscBase(const std::string& source, SourceKind kind, int title_set, std::optional<int> title);

}  // namespace tonvika
