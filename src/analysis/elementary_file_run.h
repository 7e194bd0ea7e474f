#pragma once
// Raw .ac3 and .dts files: the first frame's header becomes the single track.

#include <cstdint>
#include <optional>
#include <string>

#include "mpeg/track_kind.h"

namespace tonvika {

// The track of the file's first sync word, described, and where that sync
// word is; nothing when the file is empty or holds no sync word. Throws
// FileError when the file cannot be opened or is not a regular file.
struct ElementaryTrack {
  PublishedTrack track;
  std::uint64_t sync_at = 0;
};
std::optional<ElementaryTrack> ReadElementaryTrack(const std::string& path, TrackKind kind);

// The same, the track alone.
std::optional<PublishedTrack> AnalyseAc3File(const std::string& path);
std::optional<PublishedTrack> AnalyseDtsFile(const std::string& path);

}  // namespace tonvika
