#pragma once
// Raw .ac3 and .dts files: the first frame's header becomes the single track.

#include <optional>
#include <string>

#include "mpeg/track_kind.h"

namespace tonvika {

// The track of the file's first frame, described; nothing when the file is
// empty or holds no sync word. Both throw FileError when the file cannot be
// opened or is not a regular file.
std::optional<PublishedTrack> AnalyseAc3File(const std::string& path);
std::optional<PublishedTrack> AnalyseDtsFile(const std::string& path);

}  // namespace tonvika
