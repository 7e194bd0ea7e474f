#pragma once
// One audio stream of a source as the report describes it, whether or not
// the list has a row for it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codecs/header_values.h"
#include "mpeg/stream_kind.h"

namespace tonvika {

// A frame whose header differs from the frame before it in a field that
// defines the stream (see StreamDefiningFields).
struct HeaderChange {
  std::uint32_t frame = 0;           // its index, from the stream's first whole frame
  std::optional<std::uint64_t> pts;  // its PTS: stamped on its packet, or counted on from the last stamped frame
  double time_s = 0;                 // since the stream's first frame
  TrackHeader header;                // the new header
};

// What a walk over every frame of a stream in the window found.
struct FrameWalk {
  std::uint32_t frames = 0;  // whole frames that followed each other by their sizes
  double duration_s = 0;
  std::optional<std::uint32_t> crc_errors;  // none where the frames carry no CRC (DTS, unprotected MPEG audio)
  std::vector<HeaderChange> changes;
  std::uint32_t resyncs = 0;  // times the frames were lost and found again
  std::optional<TrackHeader> first_header;
  std::optional<std::size_t> first_frame_at;  // in the stream's payload (a raw file: in the file)
};

// One audio stream met in the read window.
struct AudioStream {
  std::optional<int> stream_id;  // sub-stream number 0x80-0xA7, or PES stream id 0xC0-0xDF (MPEG audio); none for a raw file
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
  // Every frame in the window: AC-3, DTS and MPEG audio are walked by their
  // frame sizes; LPCM counts the frames its packets declare.
  std::optional<FrameWalk> walk;
  std::optional<double> measured_bit_rate_kbps;  // LPCM: over its packets, by their PTS
};

}  // namespace tonvika
