#include "analysis/frame_notes.h"

#include <cmath>
#include <cstdio>

namespace tonvika {

namespace {

std::string Kilobits(double kbps) {
  char text[32];
  std::snprintf(text, sizeof text, kbps == std::floor(kbps) ? "%.0f kb/s" : "%.1f kb/s", kbps);
  return text;
}

std::string Kilohertz(int hz) {
  char text[32];
  std::snprintf(text, sizeof text, hz % 1000 == 0 ? "%.0f kHz" : "%.1f kHz", hz / 1000.0);
  return text;
}

std::string Plural(std::uint32_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The two headers in short, with their sample rates when those differ.
std::string Transition(const TrackHeader& from, const TrackHeader& to) {
  const auto from_rate = ValuesOf(from).sample_rate_hz;
  const auto to_rate = ValuesOf(to).sample_rate_hz;
  const bool rates = from_rate && to_rate && *from_rate != *to_rate;
  return "from " + HeaderInShort(from) + (rates ? " " + Kilohertz(*from_rate) : "") + " to " + HeaderInShort(to) +
         (rates ? " " + Kilohertz(*to_rate) : "");
}

void AddHeaderChange(const AudioStream& stream, std::vector<RunNote>& notes) {
  const FrameWalk& walk = *stream.walk;
  if (walk.changes.empty() || !walk.first_header) return;
  const HeaderChange& first = walk.changes.front();
  std::string text = StreamName(stream.kind, stream.stream_id) + " changes at " + ClockTime(first.time_s) + " " +
                     Transition(*walk.first_header, first.header);
  if (walk.changes.size() > 1) text += ", then " + Plural(static_cast<std::uint32_t>(walk.changes.size() - 1), "more time", "more times");
  text += stream.slot ? "; the list shows the first frame" : "; its header here is the first frame's";
  notes.push_back({NoteCode::HeaderChange, stream.stream_id, std::move(text)});
}

void AddCrcErrors(const AudioStream& stream, std::vector<RunNote>& notes) {
  const FrameWalk& walk = *stream.walk;
  if (!walk.crc_errors || *walk.crc_errors == 0) return;
  notes.push_back({NoteCode::CrcErrors, stream.stream_id,
                   StreamName(stream.kind, stream.stream_id) + ": " + std::to_string(*walk.crc_errors) + " of " +
                       Plural(walk.frames, "frame fails its CRC", "frames fail their CRC")});
}

void AddResync(const AudioStream& stream, std::vector<RunNote>& notes) {
  const FrameWalk& walk = *stream.walk;
  if (walk.resyncs == 0) return;
  notes.push_back({NoteCode::Resync, stream.stream_id,
                   StreamName(stream.kind, stream.stream_id) + " lost its frames and found them again " +
                       (walk.resyncs == 1 ? std::string("once") : std::to_string(walk.resyncs) + " times")});
}

}  // namespace

std::string HeaderInShort(const TrackHeader& header) {
  const HeaderValues values = ValuesOf(header);
  std::string text = values.layout.value_or("?");
  if (values.lfe.value_or(false)) text += "+LFE";
  text += " ";
  text += values.bit_rate_kbps ? Kilobits(*values.bit_rate_kbps) : "? kb/s";
  return text;
}

std::string ClockTime(double seconds) {
  const auto millis = static_cast<long long>(std::llround(seconds * 1000.0));
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%03lld", millis / 3600000, millis / 60000 % 60,
                millis / 1000 % 60, millis % 1000);
  return text;
}

void AddFrameNotes(const std::vector<AudioStream>& streams, std::vector<RunNote>& notes) {
  for (const AudioStream& stream : streams) {
    if (!stream.walk) continue;
    AddHeaderChange(stream, notes);
    AddCrcErrors(stream, notes);
    AddResync(stream, notes);
  }
}

std::optional<RunNote> FalseSyncNote(const AudioStream& stream, std::size_t first_sync_at) {
  if (!stream.walk || !stream.walk->first_frame_at || !stream.walk->first_header) return std::nullopt;
  const std::size_t frames_at = *stream.walk->first_frame_at;
  if (frames_at == first_sync_at) return std::nullopt;
  const char* sync = stream.kind == StreamKind::Dts ? "7F FE 80 01" : "0B 77";
  const auto rate = ValuesOf(*stream.walk->first_header).sample_rate_hz;
  return RunNote{NoteCode::FalseSync, std::nullopt,
                 std::string("the first ") + sync + " (offset " + std::to_string(first_sync_at) +
                     ") is not followed by a frame; the frames start at offset " + std::to_string(frames_at) + ": " +
                     StreamKindName(stream.kind) + " " + HeaderInShort(*stream.walk->first_header) +
                     (rate ? " " + Kilohertz(*rate) : "")};
}

}  // namespace tonvika
