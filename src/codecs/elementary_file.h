#pragma once
// Raw .ac3 and .dts files: the first frame's header becomes the single track.

#include <string>

namespace tonvika {

class TrackSlots;

// Both return true when they changed the list (a sync word was found) and
// false when the file is empty or holds no sync word. They throw FileError
// when the file cannot be opened or is not a regular file.
bool AnalyseAc3File(const std::string& path, TrackSlots& slots);
bool AnalyseDtsFile(const std::string& path, TrackSlots& slots);

}  // namespace tonvika
