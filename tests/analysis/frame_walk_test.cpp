#include "analysis/frame_walk.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tonvika {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kFixtures = TONVIKA_FIXTURES;

Bytes ReadFixture(const std::string& name) {
  std::ifstream file(kFixtures + "/" + name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), {});
}

// Whole frames of raw fixtures: 2/0 192 kb/s (768 bytes) and 3/2+LFE
// 448 kb/s (1792 bytes), each at 48 kHz.
Bytes StereoFrames() { return ReadFixture("ac3_acmods/raw/ac3_48000_2.0_dsur_on_192k.ac3"); }
Bytes SurroundFrames() {
  const Bytes file = ReadFixture("raw/ac3_junk100_5.1_448k.ac3");
  return Bytes(file.begin() + 100, file.end());
}

Bytes Joined(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(WalkRawFrames, CleanFramesHoldTheirCrcsAndNeverChange) {
  for (const char* name : {"ac3_acmods/raw/ac3_44100_5.1_448k.ac3", "ac3_acmods/raw/ac3_44100_stereo_192k.ac3",
                           "ac3_acmods/raw/ac3_32000_3.0_256k.ac3", "raw/ac3_junk333_stereo_192k.ac3"}) {
    SCOPED_TRACE(name);
    const Bytes file = ReadFixture(name);
    ASSERT_FALSE(file.empty());
    const FrameWalk walk = WalkRawFrames(FrameFormat::Ac3, file);
    EXPECT_GE(walk.frames, 3u);
    EXPECT_EQ(walk.crc_errors, 0u);
    // At 44.1 kHz frmsizecod's low bit pads every other frame: no change.
    EXPECT_TRUE(walk.changes.empty());
    EXPECT_EQ(walk.resyncs, 0u);
  }
  const FrameWalk dts = WalkRawFrames(FrameFormat::Dts, ReadFixture("raw/dts_junk101_stereo_768k.dts"));
  EXPECT_EQ(dts.first_frame_at, 101u);
  EXPECT_GE(dts.frames, 2u);
  EXPECT_EQ(dts.crc_errors, std::nullopt) << "the DTS core carries no CRC";
}

// A sync word in junk before the frames is not taken: the next frame does
// not follow it at the size its header gives.
TEST(WalkRawFrames, StraySyncWordBeforeTheFramesIsPassedOver) {
  Bytes junk(64, 0x55);
  const Bytes stray = {0x0B, 0x77, 0x12, 0x34, 0x1E, 0x40, 0xE1};  // a 5.1 448 kb/s header
  std::copy(stray.begin(), stray.end(), junk.begin() + 10);
  const FrameWalk walk = WalkRawFrames(FrameFormat::Ac3, Joined({junk, StereoFrames()}));
  EXPECT_EQ(walk.first_frame_at, 64u);
  ASSERT_TRUE(walk.first_header);
  EXPECT_EQ(ValuesOf(*walk.first_header).channels, 2);
}

TEST(WalkRawFrames, AChangeIsRecordedAtItsFrameAndTime) {
  const Bytes stereo = StereoFrames();
  const std::size_t stereo_frames = stereo.size() / 768;
  const FrameWalk walk = WalkRawFrames(FrameFormat::Ac3, Joined({stereo, SurroundFrames()}));
  ASSERT_EQ(walk.changes.size(), 1u);
  EXPECT_EQ(walk.changes[0].frame, stereo_frames);
  EXPECT_DOUBLE_EQ(walk.changes[0].time_s, stereo_frames * 0.032);
  EXPECT_EQ(ValuesOf(walk.changes[0].header).channels, 6);
  EXPECT_EQ(walk.crc_errors, 0u);
}

TEST(WalkRawFrames, ADamagedFrameFailsItsCrcAndLostFramesAreFoundAgain) {
  Bytes frames = Joined({SurroundFrames(), SurroundFrames()});
  frames[1792 + 900] ^= 0x10;  // inside the second frame's audio data
  const FrameWalk damaged = WalkRawFrames(FrameFormat::Ac3, frames);
  EXPECT_EQ(damaged.frames, 6u);
  EXPECT_EQ(damaged.crc_errors, 1u);

  // Half a frame gone: the walk finds the next whole frame.
  Bytes cut = SurroundFrames();
  cut.erase(cut.begin() + 1792 + 100, cut.begin() + 1792 + 900);
  const FrameWalk resynced = WalkRawFrames(FrameFormat::Ac3, Joined({cut, SurroundFrames()}));
  EXPECT_EQ(resynced.resyncs, 1u);
  EXPECT_EQ(resynced.frames, 5u);
  EXPECT_EQ(resynced.crc_errors, 0u);
}

// A stream of the program stream: frames split between packets are joined,
// a missing (scrambled) payload breaks the sequence, and PTS follow the
// packet a frame starts in.
TEST(WalkStreamFrames, JoinsPacketsAndStopsAtMissingPayloads) {
  const Bytes frames = Joined({SurroundFrames(), SurroundFrames()});  // 6 frames of 1792 bytes
  StreamSurveyEntry entry;
  entry.kind = StreamKind::Ac3;
  // 2000-byte pieces; the first points at its first byte.
  for (std::size_t at = 0; at < frames.size(); at += 2000) {
    PayloadPiece piece;
    piece.offset = at;
    piece.length = std::min<std::size_t>(2000, frames.size() - at);
    piece.pts = 1000 + at;
    piece.first_access_unit = at == 0 ? 1 : 0;
    entry.pieces.push_back(piece);
  }
  const FrameWalk whole = WalkStreamFrames(entry, FrameFormat::Ac3, frames);
  EXPECT_EQ(whole.frames, 6u);
  EXPECT_EQ(whole.crc_errors, 0u);

  entry.pieces[2].missing = true;  // bytes 4000 to 5999: frames 2 and 3 lie across it
  entry.pieces[2].length = 0;
  const FrameWalk gap = WalkStreamFrames(entry, FrameFormat::Ac3, frames);
  EXPECT_EQ(gap.frames, 4u);
  EXPECT_EQ(gap.resyncs, 1u);
  EXPECT_EQ(gap.crc_errors, 0u) << "no frame is checked across the gap";
}

TEST(MeasureLpcm, FramesAndTheRateBetweenStampedAccessUnits) {
  StreamSurveyEntry entry;
  entry.kind = StreamKind::Lpcm;
  entry.lpcm_attribute = 0x01;  // 16-bit, 48 kHz, stereo
  // 192,000 bytes a second; 2000 bytes a packet.
  for (int k = 0; k < 10; ++k) {
    PayloadPiece piece;
    piece.length = 2000;
    piece.first_access_unit = 4;  // the first byte after the attribute bytes
    piece.pts = 90000 + static_cast<std::uint64_t>(k) * 2000 * 90000 / 192000;
    entry.pieces.push_back(piece);
  }
  const LpcmMeasure measure = MeasureLpcm(entry);
  EXPECT_DOUBLE_EQ(measure.walk.duration_s, 20000 / 192000.0);
  EXPECT_EQ(measure.walk.frames, 62u);  // 1/600 s each
  ASSERT_TRUE(measure.bit_rate_kbps);
  EXPECT_NEAR(*measure.bit_rate_kbps, 1536.0, 0.5);
}

}  // namespace
}  // namespace tonvika
