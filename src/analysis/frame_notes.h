#pragma once
// What the walk over every frame has to say beyond the stream table: a
// header that changes, frames that fail their CRC, frames lost and found,
// and a raw file's sync word that begins no frame.

#include <cstddef>
#include <string>
#include <vector>

#include "analysis/audio_stream.h"
#include "analysis/stream_notes.h"

namespace tonvika {

// One note of each kind a stream's walk calls for, stream by stream.
void AddFrameNotes(const std::vector<AudioStream>& streams, std::vector<RunNote>& notes);

// A raw file whose first sync word (where the list read its header) is not
// where its frames start; nothing when they agree or no frame was found.
std::optional<RunNote> FalseSyncNote(const AudioStream& stream, std::size_t first_sync_at);

// "2/0 192 kb/s", "3/2+LFE 448 kb/s", "stereo 224 kb/s": a header in short.
std::string HeaderInShort(const TrackHeader& header);

// "0:00:02.016".
std::string ClockTime(double seconds);

}  // namespace tonvika
