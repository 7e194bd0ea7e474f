#pragma once
// The kinds of audio stream a program stream carries, told by the number
// that keys each stream: a private stream 1 sub-stream number for AC-3, DTS
// and LPCM, the PES stream id itself for MPEG audio.

#include <cstdio>
#include <optional>
#include <string>

namespace tonvika {

enum class StreamKind { Ac3, Dts, Lpcm, MpegAudio, MpegAudioExtension };

// 0xC0-0xDF are the 32 MPEG audio stream ids of a program stream. A DVD
// numbers its MPEG audio streams 0xC0-0xC7 and puts their multichannel
// extensions in 0xD0-0xD7; the ids it leaves unused can only be plain MPEG
// audio streams of some other program stream, so 0xC8-0xCF and 0xD8-0xDF
// count as MPEG audio, not as extensions.
constexpr std::optional<StreamKind> KindOfAudioStream(int stream_key) {
  struct KeyRange {
    int first;
    int last;
    StreamKind kind;
  };
  constexpr KeyRange kRanges[] = {
      {0x80, 0x87, StreamKind::Ac3},       {0x88, 0x8F, StreamKind::Dts},
      {0xA0, 0xA7, StreamKind::Lpcm},      {0xC0, 0xCF, StreamKind::MpegAudio},
      {0xD0, 0xD7, StreamKind::MpegAudioExtension}, {0xD8, 0xDF, StreamKind::MpegAudio},
  };
  for (const KeyRange& range : kRanges) {
    if (stream_key >= range.first && stream_key <= range.last) return range.kind;
  }
  return std::nullopt;
}

// True for the kinds carried as private stream 1 sub-streams.
constexpr bool IsSubStreamKind(StreamKind kind) {
  return kind == StreamKind::Ac3 || kind == StreamKind::Dts || kind == StreamKind::Lpcm;
}

constexpr const char* StreamKindName(StreamKind kind) {
  switch (kind) {
    case StreamKind::Ac3: return "AC-3";
    case StreamKind::Dts: return "DTS";
    case StreamKind::Lpcm: return "LPCM";
    case StreamKind::MpegAudio: return "MPEG audio";
    case StreamKind::MpegAudioExtension: return "MPEG audio extension";
  }
  return "audio";
}

// A stream id as the notes, the stream table and the window show it: "0x80", "0xC0".
inline std::string StreamIdText(int stream_id) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(stream_id) & 0xFFu);
  return text;
}

}  // namespace tonvika
