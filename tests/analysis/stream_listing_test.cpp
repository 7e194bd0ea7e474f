#include "analysis/stream_listing.h"

#include <gtest/gtest.h>

#include "support/ifo_builder.h"

namespace tonvika {
namespace {

using testing::IfoBuilder;
using Bytes = std::vector<std::uint8_t>;

// Each PTS is rounded to whole milliseconds first, exactly half rounding
// down, then the two are subtracted: 45 ticks (0.5 ms) is 0, 46 ticks is 1.
TEST(DelayMs, RoundsEachTimeThenSubtracts) {
  struct Case {
    std::uint64_t audio, video;
    std::int64_t ms;
  } cases[] = {{45, 0, 0}, {46, 0, 1}, {90 * 528 + 3, 90 * 533 + 33, -5}, {90 * 1000 + 45, 90 * 700 + 46, 299},
               {(std::uint64_t{1} << 33) - 1, 0, 95443718}};
  for (const Case& c : cases) EXPECT_EQ(DelayMs(c.audio, c.video), c.ms) << c.audio << " " << c.video;
  EXPECT_FALSE(DelayMs(std::nullopt, 10));
  EXPECT_FALSE(DelayMs(10, std::nullopt));
}

StreamSurveyEntry Entry(int key, StreamKind kind, Bytes head, std::optional<std::uint16_t> pointer = std::nullopt) {
  StreamSurveyEntry entry;
  entry.key = key;
  entry.kind = kind;
  entry.head = std::move(head);
  entry.first_access_unit = pointer;
  entry.packets = 1;
  return entry;
}

// 2/0 192 kb/s at 48 kHz (frmsizecod 20, acmod 2), the header bytes of a frame.
const Bytes kAc3Stereo = {0x0B, 0x77, 0x15, 0x52, 0x14, 0x40, 0x43, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
// 5.1 448 kb/s: the frame a stray sync word would claim.
const Bytes kAc3Surround = {0x0B, 0x77, 0x12, 0x34, 0x1E, 0x40, 0xE1, 0xD8, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

Bytes Joined(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The first access unit pointer (counting from 1) tells where the first
// frame starts; a sync word before it belongs to no frame of this stream.
TEST(DescribeFirstFrame, Ac3FollowsTheFirstAccessUnitPointer) {
  const Bytes head = Joined({Bytes(3, 0), kAc3Surround, kAc3Stereo});
  const auto pointed = DescribeFirstFrame(Entry(0x80, StreamKind::Ac3, head, 3 + 19 + 1));
  ASSERT_TRUE(pointed);
  EXPECT_EQ(pointed->summary, "192kbps 48000Hz 2ch(2/0) L,R CM");
  // A pointer that points at no sync word is not trusted.
  const auto damaged = DescribeFirstFrame(Entry(0x80, StreamKind::Ac3, head, 7));
  ASSERT_TRUE(damaged);
  EXPECT_EQ(damaged->summary, "448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM");
  EXPECT_FALSE(DescribeFirstFrame(Entry(0x80, StreamKind::Ac3, Bytes(kAc3Stereo.begin(), kAc3Stereo.end() - 1))))
      << "a header cut by the end of the head is not read";
}

// MPEG audio: a 0xFFF that is not followed by a frame at the length it
// declares is passed over.
TEST(DescribeFirstFrame, MpegAudioSkipsAStraySyncWord) {
  Bytes frame(672, 0);  // MPEG-1 Layer II 224 kb/s 48 kHz stereo
  const Bytes header = {0xFF, 0xFD, 0xB4, 0x04};
  std::copy(header.begin(), header.end(), frame.begin());
  const Bytes stray = {0xFF, 0xFD, 0x14, 0xC4, 0, 0};  // Layer II 32 kb/s mono
  const Bytes head = Joined({stray, frame, frame});
  const auto first = DescribeFirstFrame(Entry(0xC0, StreamKind::MpegAudio, head));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->summary, "MPEG-1 Layer II 224kbps 48000Hz 2ch stereo");
  EXPECT_FALSE(DescribeFirstFrame(Entry(0xD0, StreamKind::MpegAudioExtension, head))) << "no header of its own";
}

// Language and entry by the program chain: here entry 0 is MPEG audio
// stream 1, entry 1 AC-3 stream 0.
TEST(ListStreams, TakesEntryLanguageAndSlotFromTheChainAndTheList) {
  const DeclaredAudio declared =
      ReadDeclaredAudio(IfoBuilder().Add({2, "de"}).Add({0, "en"}).ChainPlaying({1, 0}).Build());
  const LanguageCodes codes{"de", "en", "none", "none", "none", "none", "none", "none"};
  StreamSurvey survey;
  survey.streams = {Entry(0x80, StreamKind::Ac3, kAc3Stereo), Entry(0xC0, StreamKind::MpegAudio, {}),
                    Entry(0xC1, StreamKind::MpegAudio, {})};
  FoundTracks tracks;
  tracks[0] = PublishedTrack{TrackKind::Ac3, 0x80, Ac3Header{}, {}, {}};
  const std::vector<AudioStream> streams = ListStreams(survey, {}, declared, codes, tracks);
  ASSERT_EQ(streams.size(), 3u);
  EXPECT_EQ(streams[0].declared_entry, 1);
  EXPECT_EQ(streams[0].language_code, "en");
  EXPECT_EQ(streams[0].slot, 0);
  EXPECT_TRUE(streams[0].header);
  EXPECT_EQ(streams[1].declared_entry, std::nullopt) << "the chain plays MPEG stream 1, not 0";
  EXPECT_EQ(streams[1].slot, std::nullopt);
  EXPECT_EQ(streams[2].declared_entry, 0);
  EXPECT_EQ(streams[2].language_code, "de");
  EXPECT_FALSE(streams[2].header) << "an empty head has no frame";
}

}  // namespace
}  // namespace tonvika
