#pragma once
// One audio stream of a source as the report describes it, whether or not
// the list has a row for it.

#include <cstdint>
#include <optional>
#include <string>

#include "codecs/header_values.h"
#include "mpeg/stream_kind.h"

namespace tonvika {

// One audio stream met in the read window.
struct AudioStream {
  int stream_id = 0;  // sub-stream number 0x80-0xA7, or PES stream id 0xC0-0xDF (MPEG audio)
  StreamKind kind = StreamKind::Ac3;
  std::optional<TrackHeader> header;  // its first frame's; nothing when none was whole in the window
  std::string summary;                // one line of English; empty without a header
  std::optional<int> declared_entry;  // the IFO entry the program chain pairs it with
  std::string language_code;          // that entry's code ("none" or empty without one)
  std::optional<int> slot;            // 0 to 7 when the list shows this stream
  std::uint32_t packets = 0;          // PES packets, walked by their lengths
  std::uint32_t scrambled = 0;        // of those, packets with scrambling bits set
  std::optional<std::uint64_t> first_pts;  // 90 kHz ticks
  std::optional<std::int64_t> delay_ms;    // against the video; nothing without video or PTS
};

}  // namespace tonvika
