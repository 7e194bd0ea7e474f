#include "analysis/stream_notes.h"

#include <cstdio>
#include <set>

#include "analysis/stream_mapping.h"

namespace tonvika {

namespace {

constexpr std::size_t kMegabyte = std::size_t{1} << 20;

std::string Hex(int sub_stream) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(sub_stream));
  return text;
}

const char* KindName(TrackKind kind) {
  switch (kind) {
    case TrackKind::Ac3: return "AC-3";
    case TrackKind::Dts: return "DTS";
    case TrackKind::Lpcm: return "LPCM";
  }
  return "";
}

std::optional<TrackKind> KindOfCoding(std::uint8_t coding_mode) {
  for (const TrackKind kind : {TrackKind::Ac3, TrackKind::Dts, TrackKind::Lpcm}) {
    if (CodingMatches(coding_mode, kind)) return kind;
  }
  return std::nullopt;  // MPEG audio travels in its own packets, not in private stream 1
}

std::string WindowText(const WindowExtent& window) {
  if (window.whole_source) return "the whole source (" + std::to_string(window.size) + " bytes)";
  if (window.size % kMegabyte == 0) return "the first " + std::to_string(window.size / kMegabyte) + " MB read";
  return "the first " + std::to_string(window.size) + " bytes read";
}

std::string TrackName(const PublishedTrack& track, int slot) {
  return std::string("the ") + KindName(track.kind) + " track of sub-stream " +
         Hex(track.stream_id.value_or(SubStreamBase(track.kind) + slot));
}

void AddDeclaredNotFound(const DeclaredAudio& declared, const SubStreamLog& log, const WindowExtent& window,
                         std::vector<RunNote>& notes) {
  std::set<int> named;  // two entries may declare the same stream
  for (const DeclaredAudioEntry& entry : declared.entries) {
    const std::optional<TrackKind> kind = KindOfCoding(entry.coding_mode);
    if (!kind || !entry.stream_number) continue;
    const int sub_stream = SubStreamBase(*kind) + *entry.stream_number;
    if (log.Met(sub_stream) || !named.insert(sub_stream).second) continue;
    std::string text = std::string("the program chain declares ") + KindName(*kind) + " sub-stream " + Hex(sub_stream);
    if (!entry.language_code.empty() && entry.language_code != "none") {
      text += " (language " + entry.language_code + ")";
    }
    text += ", but no packet of it was met in " + WindowText(window);
    if (!window.whole_source && window.size < kLargestReadWindow) text += "; a larger read size may find it";
    notes.push_back({NoteCode::DeclaredNotFound, sub_stream, std::move(text)});
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
                     "sub-stream " + Hex(sub_stream) + " (" + KindName(*kind) + ", " + std::to_string(readable) +
                         (readable == 1 ? " packet" : " packets") + ") is not listed: its slot, Tr" +
                         std::to_string(slot + 1) + ", holds " + TrackName(*holder, slot)});
  }
}

void AddNotDeclared(const DeclaredAudio& declared, const FoundTracks& tracks, std::vector<RunNote>& notes) {
  if (declared.FirstChain() == nullptr) return;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const std::optional<PublishedTrack>& track = tracks[static_cast<std::size_t>(slot)];
    if (!track || DeclaredEntryFor(declared, track->kind, slot)) continue;
    notes.push_back({NoteCode::NotDeclared, SubStreamBase(track->kind) + slot,
                     TrackName(*track, slot) + " (Tr" + std::to_string(slot + 1) +
                         ") is not declared available by the program chain"});
  }
}

void AddScrambled(const SubStreamLog& log, std::vector<RunNote>& notes) {
  const std::uint64_t count = log.ScrambledPackets();
  if (count == 0) return;
  notes.push_back({NoteCode::Scrambled, std::nullopt,
                   std::to_string(count) +
                       (count == 1 ? " private stream 1 packet was skipped because its scrambling bits are set"
                                   : " private stream 1 packets were skipped because their scrambling bits are set") +
                       ": the source is encrypted; reading the disc or its image (not a copied VOB) decrypts it "
                       "where libdvdcss is installed"});
}

}  // namespace

std::string_view NoteCodeName(NoteCode code) {
  switch (code) {
    case NoteCode::DeclaredNotFound: return "declared-not-found";
    case NoteCode::SlotTaken: return "slot-taken";
    case NoteCode::NotDeclared: return "not-declared";
    case NoteCode::Scrambled: return "scrambled";
  }
  return {};
}

std::vector<RunNote> ReconcileStreams(const DeclaredAudio& declared, const SubStreamLog& log,
                                      const FoundTracks& tracks, const WindowExtent& window) {
  std::vector<RunNote> notes;
  AddDeclaredNotFound(declared, log, window, notes);
  AddSlotTaken(log, tracks, notes);
  AddNotDeclared(declared, tracks, notes);
  AddScrambled(log, notes);
  return notes;
}

}  // namespace tonvika
