#pragma once
// Raw .ac3 and .dts files: the first frame's header becomes the single track.

#include <optional>
#include <string>

#include "analysis/track_kind.h"

namespace tonvika {

class TrackSlots;

// Both give the track when they changed the list (a sync word was found) and
// nothing when the file is empty or holds no sync word. They throw FileError
// when the file cannot be opened or is not a regular file.
std::optional<PublishedTrack> AnalyseAc3File(const std::string& path, TrackSlots& slots);
std::optional<PublishedTrack> AnalyseDtsFile(const std::string& path, TrackSlots& slots);

}  // namespace tonvika
