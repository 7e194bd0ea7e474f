// The notes of a run: declarations against the sub-streams met.

#include "analysis/stream_notes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ifo_builder.h"

namespace tonvika {
namespace {

using testing::IfoBuilder;

constexpr std::size_t kOneMegabyte = std::size_t{1} << 20;
const WindowExtent kFirstMegabyte{kOneMegabyte, false};

PublishedTrack Track(TrackKind kind, int slot) { return {kind, SubStreamBase(kind) + slot, Ac3Header{}, {}, {}}; }

// Two AC-3 entries [en] [ja], played as streams 0 and 1.
DeclaredAudio TwoAc3Streams(std::optional<int> second = 1) {
  return ReadDeclaredAudio(IfoBuilder().Add({0, "en"}).Add({0, "ja"}).ChainPlaying({0, second}).Build());
}

std::vector<std::string> Codes(const std::vector<RunNote>& notes) {
  std::vector<std::string> codes;
  for (const RunNote& note : notes) codes.emplace_back(NoteCodeName(note.code));
  return codes;
}

TEST(StreamNotes, ACleanTitleSetGivesNone) {
  SubStreamLog log;
  log.Record(0x80, 0, false);
  log.Record(0x81, 2048, false);
  FoundTracks tracks;
  tracks[0] = Track(TrackKind::Ac3, 0);
  tracks[1] = Track(TrackKind::Ac3, 1);
  EXPECT_TRUE(ReconcileStreams(TwoAc3Streams(), log, tracks, kFirstMegabyte).empty());
}

TEST(StreamNotes, DeclaredButNotFoundSuggestsALargerReadSizeWhileOneIsLeft) {
  SubStreamLog log;
  log.Record(0x80, 0, false);
  FoundTracks tracks;
  tracks[0] = Track(TrackKind::Ac3, 0);
  const std::string stem = "the program chain declares AC-3 sub-stream 0x81 (language ja), but no packet of it was met in ";
  const struct {
    WindowExtent window;
    std::string text;
  } cases[] = {
      {kFirstMegabyte, stem + "the first 1 MB read; a larger read size may find it"},
      {{19 * kOneMegabyte, false}, stem + "the first 19 MB read; a larger read size may find it"},
      {{kLargestReadWindow, false}, stem + "the first 20 MB read"},
      {{1000, true}, stem + "the whole source (1000 bytes)"},
      {{1000, false}, stem + "the first 1000 bytes read; a larger read size may find it"},
  };
  for (const auto& c : cases) {
    const std::vector<RunNote> notes = ReconcileStreams(TwoAc3Streams(), log, tracks, c.window);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].code, NoteCode::DeclaredNotFound);
    EXPECT_EQ(notes[0].stream_id, 0x81);
    EXPECT_EQ(notes[0].text, c.text);
  }
}

TEST(StreamNotes, OnlyStreamsTheChainDeclaresAvailableCanBeMissing) {
  SubStreamLog log;
  // Entry 1 unavailable; MPEG audio (entry 2) has packets of its own.
  const DeclaredAudio declared =
      ReadDeclaredAudio(IfoBuilder().Add({0, ""}).Add({0, ""}).Add({3, ""}).Add({6, ""}).ChainPlaying({0, {}, 2, 0}).Build());
  const std::vector<RunNote> notes = ReconcileStreams(declared, log, {}, kFirstMegabyte);
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[0].stream_id, 0x80);
  EXPECT_EQ(notes[0].text.find("(language"), std::string::npos) << "no language to name";
  EXPECT_EQ(notes[1].stream_id, 0xC2);
  EXPECT_EQ(notes[1].text.rfind("the program chain declares MPEG audio stream 0xC2, but", 0), 0u) << notes[1].text;
  EXPECT_EQ(notes[2].stream_id, 0x88);
  // An MPEG audio stream met in the window is not missing.
  AudioStream met;
  met.stream_id = 0xC2;
  met.kind = StreamKind::MpegAudio;
  met.packets = 3;
  const std::vector<RunNote> with_mpeg = ReconcileStreams(declared, log, {}, kFirstMegabyte, {met});
  ASSERT_EQ(with_mpeg.size(), 3u);
  EXPECT_EQ(with_mpeg[1].stream_id, 0x88);
  EXPECT_EQ(with_mpeg[2].code, NoteCode::OutsideList);
  // Without a chain nothing is declared available.
  EXPECT_TRUE(ReconcileStreams(ReadDeclaredAudio(IfoBuilder().Add({0, "en"}).Build()), log, {}, kFirstMegabyte).empty());
}

TEST(StreamNotes, TwoEntriesOfOneStreamGiveOneNote) {
  const DeclaredAudio declared = ReadDeclaredAudio(IfoBuilder().Add({0, "en"}).Add({0, "ja"}).ChainPlaying({0, 0}).Build());
  const std::vector<RunNote> notes = ReconcileStreams(declared, SubStreamLog{}, {}, kFirstMegabyte);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].text.find("(language en)"), std::string::npos);
}

TEST(StreamNotes, ScrambledPacketsCountAsMet) {
  SubStreamLog log;
  log.Record(0x80, 0, true);
  log.Record(0x81, 4096, true);
  log.Record(0x81, 6144, true);
  const std::vector<RunNote> notes = ReconcileStreams(TwoAc3Streams(), log, {}, kFirstMegabyte);
  ASSERT_EQ(Codes(notes), (std::vector<std::string>{"scrambled", "scrambled"}));
  EXPECT_EQ(notes[1].stream_id, 0x81);
  EXPECT_EQ(notes[1].text,
            "sub-stream 0x81: 2 packets of 2 skipped because their scrambling bits are set: the source is "
            "encrypted; reading the disc or its image (not a copied VOB) decrypts it where libdvdcss is installed");
}

// One changed byte can set a packet's scrambling bits: a stray flag says
// nothing. Most of a stream's packets, or a run of 16, do.
TEST(StreamNotes, ScrambledNeedsMostPacketsOrALongRun) {
  const struct {
    int plain_before;
    int scrambled;
    int plain_after;
    bool noted;
  } cases[] = {
      {40, 1, 40, false}, {0, 1, 0, true},   {10, 11, 0, true},  {11, 10, 0, false},
      {10, 10, 10, false}, {60, 16, 60, true}, {60, 15, 60, false},
  };
  for (const auto& c : cases) {
    SubStreamLog log;
    std::size_t offset = 0;
    for (int n = 0; n < c.plain_before; ++n) log.Record(0x80, offset += 2048, false);
    for (int n = 0; n < c.scrambled; ++n) log.Record(0x80, offset += 2048, true);
    for (int n = 0; n < c.plain_after; ++n) log.Record(0x80, offset += 2048, false);
    const std::vector<RunNote> notes = ReconcileStreams(DeclaredAudio{}, log, {}, kFirstMegabyte);
    EXPECT_EQ(Codes(notes), c.noted ? std::vector<std::string>{"scrambled"} : std::vector<std::string>{})
        << c.plain_before << " + " << c.scrambled << " + " << c.plain_after;
  }
  SubStreamLog one;
  one.Record(0x20, 0, true);  // a sub-picture packet counts as well
  EXPECT_EQ(ReconcileStreams(DeclaredAudio{}, one, {}, kFirstMegabyte).at(0).text.substr(0, 66),
            "sub-stream 0x20: 1 packet of 1 skipped because its scrambling bits");
}

TEST(StreamNotes, SlotTakenNamesTheHolderAlsoWithoutAnIfo) {
  SubStreamLog log;
  log.Record(0xA2, 0, false);
  log.Record(0x82, 2048, false);
  log.Record(0x82, 4096, false);
  log.Record(0x82, 6144, true);  // scrambled ones are not counted here
  log.Record(0x8B, 8192, false);  // slot 3 is free: the DTS stream never confirmed
  log.Record(0x20, 8192, false);  // sub-pictures have no slot
  FoundTracks tracks;
  tracks[2] = Track(TrackKind::Lpcm, 2);
  const std::vector<RunNote> notes = ReconcileStreams(DeclaredAudio{}, log, tracks, kFirstMegabyte);
  ASSERT_EQ(Codes(notes), std::vector<std::string>{"slot-taken"});  // one scrambled packet of three: no note
  EXPECT_EQ(notes[0].stream_id, 0x82);
  EXPECT_EQ(notes[0].text, "sub-stream 0x82 (AC-3, 2 packets) is not listed: its slot, Tr3, holds the LPCM track of sub-stream 0xA2");
}

TEST(StreamNotes, SlotTakenOnlyByAnotherKind) {
  SubStreamLog log;
  log.Record(0x80, 0, false);
  FoundTracks tracks;
  tracks[0] = Track(TrackKind::Ac3, 0);
  EXPECT_TRUE(ReconcileStreams(DeclaredAudio{}, log, tracks, kFirstMegabyte).empty());
  SubStreamLog one_packet;
  one_packet.Record(0x88, 0, false);
  EXPECT_NE(ReconcileStreams(DeclaredAudio{}, one_packet, tracks, kFirstMegabyte).at(0).text.find("(DTS, 1 packet)"),
            std::string::npos);
}

TEST(StreamNotes, NotDeclaredNeedsAReadableChain) {
  SubStreamLog log;
  log.Record(0x80, 0, false);
  log.Record(0x89, 2048, false);
  FoundTracks tracks;
  tracks[0] = Track(TrackKind::Ac3, 0);
  tracks[1] = Track(TrackKind::Dts, 1);
  // Entry 1 is AC-3: the DTS track of stream 1 is not declared.
  std::vector<RunNote> notes = ReconcileStreams(TwoAc3Streams(), log, tracks, kFirstMegabyte);
  ASSERT_EQ(Codes(notes), (std::vector<std::string>{"declared-not-found", "not-declared"}));
  EXPECT_EQ(notes[1].stream_id, 0x89);
  EXPECT_EQ(notes[1].text, "the DTS track of sub-stream 0x89 (Tr2) is not declared available by the program chain");
  // The same tracks with the chain marking entry 1 unavailable.
  notes = ReconcileStreams(TwoAc3Streams(std::nullopt), log, tracks, kFirstMegabyte);
  EXPECT_EQ(Codes(notes), std::vector<std::string>{"not-declared"});
  // No chain, no such note.
  EXPECT_TRUE(ReconcileStreams(ReadDeclaredAudio(IfoBuilder().Add({0, "en"}).Build()), log, tracks, kFirstMegabyte).empty());
}

TEST(StreamNotes, CodesHaveTheirNames) {
  EXPECT_EQ(NoteCodeName(NoteCode::DeclaredNotFound), "declared-not-found");
  EXPECT_EQ(NoteCodeName(NoteCode::SlotTaken), "slot-taken");
  EXPECT_EQ(NoteCodeName(NoteCode::NotDeclared), "not-declared");
  EXPECT_EQ(NoteCodeName(NoteCode::Scrambled), "scrambled");
}

// MPEG audio has no row: each stream met says so, and one the chain does
// not declare says that too.
TEST(StreamNotes, MpegAudioIsOutsideTheListAndMayBeUndeclared) {
  const DeclaredAudio declared = ReadDeclaredAudio(IfoBuilder().Add({2, "de"}).ChainPlaying({0}).Build());
  AudioStream declared_stream;
  declared_stream.stream_id = 0xC0;
  declared_stream.kind = StreamKind::MpegAudio;
  declared_stream.summary = "MPEG-1 Layer II 224kbps 48000Hz 2ch stereo";
  declared_stream.packets = 12;
  AudioStream other = declared_stream;
  other.stream_id = 0xC1;
  other.summary.clear();
  other.packets = 1;
  const std::vector<RunNote> notes = ReconcileStreams(declared, SubStreamLog{}, {}, kFirstMegabyte, {declared_stream, other});
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[0].code, NoteCode::NotDeclared);
  EXPECT_EQ(notes[0].stream_id, 0xC1);
  EXPECT_EQ(notes[1].code, NoteCode::OutsideList);
  EXPECT_EQ(notes[1].text,
            "MPEG audio stream 0xC0 (MPEG-1 Layer II 224kbps 48000Hz 2ch stereo, 12 packets) is not listed: the list "
            "has rows for AC-3, DTS and LPCM tracks only");
  EXPECT_EQ(notes[2].text, "MPEG audio stream 0xC1 (1 packet) is not listed: the list has rows for AC-3, DTS and LPCM tracks only");
  EXPECT_EQ(NoteCodeName(NoteCode::OutsideList), "outside-list");
}

}  // namespace
}  // namespace tonvika
