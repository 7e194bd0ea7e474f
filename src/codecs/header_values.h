#pragma once
// A decoded header as plain numbers, the same for every kind: what a script
// wants to know of a track without reading the texts.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "codecs/ac3_header.h"
#include "codecs/dts_header.h"
#include "codecs/lpcm.h"
#include "codecs/mpeg_audio_header.h"

namespace tonvika {

using TrackHeader = std::variant<Ac3Header, DtsHeader, LpcmAttributes, MpegAudioHeader>;

struct NamedField {
  std::string_view name;  // the standard's name of the field
  unsigned value;         // raw, as read
};

// Each member is empty where the header gives no such number (a reserved or
// invalid code, or a field the kind does not carry). An AC-3 frame of bsid 9
// and above has only its first five fields. Version and layer are set for
// MPEG audio alone.
struct HeaderValues {
  std::optional<double> bit_rate_kbps;
  std::optional<int> sample_rate_hz;
  std::optional<int> channels;  // every channel, LFE included
  std::optional<bool> lfe;
  std::optional<int> bits_per_sample;
  std::optional<std::string> layout;  // "3/2", "1+1", the DTS layout text, "stereo", "joint stereo"
  std::vector<NamedField> fields;     // every field read, in stream order
  std::optional<int> version;         // MPEG-1 or MPEG-2 (the lower sampling frequencies)
  std::optional<int> layer;           // I to III as 1 to 3
};

HeaderValues ValuesOf(const TrackHeader& header);

}  // namespace tonvika
