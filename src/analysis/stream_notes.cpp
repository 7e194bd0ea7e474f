#include "analysis/stream_notes.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "analysis/frame_notes.h"
#include "analysis/stream_mapping.h"

namespace tonvika {

namespace {

constexpr std::size_t kMegabyte = std::size_t{1} << 20;

const char* KindName(TrackKind kind) { return StreamKindName(StreamKindOf(kind)); }

std::optional<StreamKind> KindOfCoding(std::uint8_t coding_mode) {
  for (const StreamKind kind : {StreamKind::Ac3, StreamKind::Dts, StreamKind::Lpcm, StreamKind::MpegAudio}) {
    if (CodingMatches(coding_mode, kind)) return kind;
  }
  return std::nullopt;
}

bool IsMpegAudio(StreamKind kind) { return kind == StreamKind::MpegAudio || kind == StreamKind::MpegAudioExtension; }

bool Met(int stream_id, const SubStreamLog& log, const std::vector<AudioStream>& streams) {
  if (stream_id < SubStreamLog::kSubStreams && log.Met(stream_id)) return true;
  return std::any_of(streams.begin(), streams.end(),
                     [stream_id](const AudioStream& s) { return s.stream_id == stream_id && s.packets > 0; });
}

std::string WindowText(const WindowExtent& window) {
  if (window.whole_source) return "the whole source (" + std::to_string(window.size) + " bytes)";
  if (window.size % kMegabyte == 0) return "the first " + std::to_string(window.size / kMegabyte) + " MB read";
  return "the first " + std::to_string(window.size) + " bytes read";
}

std::string TrackName(const PublishedTrack& track, int slot) {
  return std::string("the ") + KindName(track.kind) + " track of sub-stream " +
         StreamIdText(track.stream_id.value_or(SubStreamBase(track.kind) + slot));
}

void AddDeclaredNotFound(const DeclaredAudio& declared, const SubStreamLog& log, const WindowExtent& window,
                         const std::vector<AudioStream>& streams, std::vector<RunNote>& notes) {
  std::set<int> named;  // two entries may declare the same stream
  for (const DeclaredAudioEntry& entry : declared.entries) {
    const std::optional<StreamKind> kind = KindOfCoding(entry.coding_mode);
    if (!kind || !entry.stream_number) continue;
    const int stream_id = StreamIdBase(*kind) + *entry.stream_number;
    if (Met(stream_id, log, streams) || !named.insert(stream_id).second) continue;
    std::string text =
        std::string("the program chain declares ") + StreamKindName(*kind) + " " + StreamName(*kind, stream_id);
    if (!entry.language_code.empty() && entry.language_code != "none") {
      text += " (language " + entry.language_code + ")";
    }
    text += ", but no packet of it was met in " + WindowText(window);
    if (!window.whole_source && window.size < kLargestReadWindow) text += "; a larger read size may find it";
    notes.push_back({NoteCode::DeclaredNotFound, stream_id, std::move(text)});
  }
}

void AddSlotTaken(const SubStreamLog& log, const FoundTracks& tracks, std::vector<RunNote>& notes) {
  for (int sub_stream = 0; sub_stream < SubStreamLog::kSubStreams; ++sub_stream) {
    const std::optional<TrackKind> kind = KindOfSubStream(static_cast<std::uint8_t>(sub_stream));
    const SubStreamRecord& record = log[sub_stream];
    // Scrambled packets could not have given a track; their own note says so.
    const std::uint32_t readable = record.packets - record.scrambled;
    if (!kind || readable == 0) continue;
    const int slot = sub_stream - SubStreamBase(*kind);
    const std::optional<PublishedTrack>& holder = tracks[static_cast<std::size_t>(slot)];
    if (!holder || holder->kind == *kind) continue;
    notes.push_back({NoteCode::SlotTaken, sub_stream,
                     "sub-stream " + StreamIdText(sub_stream) + " (" + KindName(*kind) + ", " + std::to_string(readable) +
                         (readable == 1 ? " packet" : " packets") + ") is not listed: its slot, Tr" +
                         std::to_string(slot + 1) + ", holds " + TrackName(*holder, slot)});
  }
}

void AddNotDeclared(const DeclaredAudio& declared, const FoundTracks& tracks, const std::vector<AudioStream>& streams,
                    std::vector<RunNote>& notes) {
  if (declared.FirstChain() == nullptr) return;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const std::optional<PublishedTrack>& track = tracks[static_cast<std::size_t>(slot)];
    if (!track || DeclaredEntryFor(declared, track->kind, slot)) continue;
    notes.push_back({NoteCode::NotDeclared, SubStreamBase(track->kind) + slot,
                     TrackName(*track, slot) + " (Tr" + std::to_string(slot + 1) +
                         ") is not declared available by the program chain"});
  }
  // The list has no row for MPEG audio; its streams are named by their id.
  for (const AudioStream& stream : streams) {
    if (stream.kind != StreamKind::MpegAudio || !stream.stream_id) continue;
    if (DeclaredEntryFor(declared, stream.kind, *stream.stream_id - StreamIdBase(stream.kind))) continue;
    notes.push_back({NoteCode::NotDeclared, stream.stream_id,
                     "the MPEG audio stream " + StreamIdText(*stream.stream_id) +
                         " is not declared available by the program chain"});
  }
}

// A scrambling flag is two bits of a PES header: one changed byte can set
// them in a plain VOB. Only most of a stream's packets, or every packet of
// a long run, say that the source is encrypted.
constexpr std::uint32_t kScrambledRun = 16;

bool ScrambledStream(const SubStreamRecord& record) {
  return record.scrambled * 2 > record.packets || record.longest_scrambled_run >= kScrambledRun;
}

void AddScrambled(const SubStreamLog& log, std::vector<RunNote>& notes) {
  for (int sub_stream = 0; sub_stream < SubStreamLog::kSubStreams; ++sub_stream) {
    const SubStreamRecord& record = log[sub_stream];
    if (record.scrambled == 0 || !ScrambledStream(record)) continue;
    notes.push_back({NoteCode::Scrambled, sub_stream,
                     "sub-stream " + StreamIdText(sub_stream) + ": " + std::to_string(record.scrambled) +
                         (record.scrambled == 1 ? " packet of " : " packets of ") + std::to_string(record.packets) +
                         (record.scrambled == 1 ? " skipped because its" : " skipped because their") +
                         " scrambling bits are set: the source is encrypted; reading the disc or its image (not a "
                         "copied VOB) decrypts it where libdvdcss is installed"});
  }
}

void AddOutsideList(const std::vector<AudioStream>& streams, std::vector<RunNote>& notes) {
  for (const AudioStream& stream : streams) {
    if (!IsMpegAudio(stream.kind) || !stream.stream_id) continue;
    std::string text = std::string(StreamKindName(stream.kind)) + " " + StreamName(stream.kind, stream.stream_id) + " (";
    if (!stream.summary.empty()) text += stream.summary + ", ";
    text += std::to_string(stream.packets) + (stream.packets == 1 ? " packet" : " packets");
    text += ") is not listed: the list has rows for AC-3, DTS and LPCM tracks only";
    notes.push_back({NoteCode::OutsideList, stream.stream_id, std::move(text)});
  }
}

}  // namespace

std::string StreamName(StreamKind kind, std::optional<int> stream_id) {
  if (!stream_id) return "the stream";
  return (IsMpegAudio(kind) ? "stream " : "sub-stream ") + StreamIdText(*stream_id);
}

std::string_view NoteCodeName(NoteCode code) {
  switch (code) {
    case NoteCode::ShortRead: return "short-read";
    case NoteCode::DeclaredNotFound: return "declared-not-found";
    case NoteCode::SlotTaken: return "slot-taken";
    case NoteCode::NotDeclared: return "not-declared";
    case NoteCode::Scrambled: return "scrambled";
    case NoteCode::OutsideList: return "outside-list";
    case NoteCode::HeaderChange: return "header-change";
    case NoteCode::CrcErrors: return "crc-errors";
    case NoteCode::Resync: return "resync";
    case NoteCode::FalseSync: return "false-sync";
    case NoteCode::ReadAsStored: return "read-as-stored";
  }
  return {};
}

std::vector<RunNote> ReconcileStreams(const DeclaredAudio& declared, const SubStreamLog& log,
                                      const FoundTracks& tracks, const WindowExtent& window,
                                      const std::vector<AudioStream>& streams) {
  std::vector<RunNote> notes;
  AddDeclaredNotFound(declared, log, window, streams, notes);
  AddSlotTaken(log, tracks, notes);
  AddNotDeclared(declared, tracks, streams, notes);
  AddScrambled(log, notes);
  AddOutsideList(streams, notes);
  AddFrameNotes(streams, notes);
  return notes;
}

}  // namespace tonvika
