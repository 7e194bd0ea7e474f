// The scan's record of every private stream 1 sub-stream it meets.

#include "mpeg/sub_stream_log.h"

#include <gtest/gtest.h>

#include "mpeg/program_stream_scan.h"
#include "scan_test_support.h"

namespace tonvika::scan_test {
namespace {

Bytes Packet(std::uint8_t sub_stream, std::uint8_t flags, Bytes body = Bytes(24, 0x00)) {
  PacketLayout layout;
  layout.flags = flags;
  layout.sub_stream = sub_stream;
  layout.body = std::move(body);
  return MakePacket(layout);
}

TEST(KindOfSubStream, Ranges) {
  const std::pair<int, std::optional<TrackKind>> cases[] = {
      {0x7F, std::nullopt},  {0x80, TrackKind::Ac3}, {0x87, TrackKind::Ac3},   {0x88, TrackKind::Dts},
      {0x8F, TrackKind::Dts}, {0x90, std::nullopt},  {0x9F, std::nullopt},     {0xA0, TrackKind::Lpcm},
      {0xA7, TrackKind::Lpcm}, {0xA8, std::nullopt}, {0x20, std::nullopt},     {0x00, std::nullopt},
  };
  for (const auto& [number, kind] : cases) EXPECT_EQ(KindOfSubStream(static_cast<std::uint8_t>(number)), kind) << number;
}

TEST(SubStreamLog, TheScanRecordsEveryPacketItExamines) {
  Bytes buffer;
  const std::size_t first_ac3 = buffer.size();
  Append(buffer, Packet(0x80, 0x81));
  const std::size_t sub_picture = buffer.size();
  Append(buffer, Packet(0x20, 0x81));
  Append(buffer, Packet(0x80, 0x91));  // scrambling control 01
  Append(buffer, Packet(0x80, 0xA1));  // 10
  Append(buffer, Packet(0x80, 0xB1));  // 11
  Append(buffer, Packet(0x89, 0x01));  // no MPEG-2 marker bits: no sub-stream number there
  const std::size_t last_lpcm = buffer.size();
  Append(buffer, Packet(0xA3, 0x85));
  buffer.resize(buffer.size() + 32, 0x00);

  SyncTraces traces;
  RecordingPublisher publisher(buffer.data());
  SubStreamLog log;
  ScanProgramStream(buffer.data(), buffer.size(), traces, publisher, log);

  EXPECT_EQ(log[0x80].packets, 4u);
  EXPECT_EQ(log[0x80].scrambled, 3u);
  EXPECT_EQ(log[0x80].first_offset, first_ac3);
  EXPECT_EQ(log[0x20].packets, 1u);
  EXPECT_EQ(log[0x20].first_offset, sub_picture);
  EXPECT_FALSE(log.Met(0x89));
  EXPECT_EQ(log[0xA3].packets, 1u);
  EXPECT_EQ(log[0xA3].first_offset, last_lpcm);
  EXPECT_EQ(log[0x80].longest_scrambled_run, 3u);
  // What is published does not change: the LPCM packet alone.
  ASSERT_EQ(publisher.published.size(), 1u);
  EXPECT_EQ(publisher.published[0].slot, 3);
}

TEST(SubStreamLog, APacketCutOffBeforeItsSubStreamNumberIsNotMet) {
  Bytes buffer(40, 0x00);
  const Bytes packet = Packet(0x81, 0x81);
  // The walk examines the start code at 20 (below 40 - 16), but a header
  // data length of 30 puts the sub-stream number at 59, past the window.
  std::copy(packet.begin(), packet.begin() + 9, buffer.begin() + 20);
  buffer[20 + 8] = 30;
  SyncTraces traces;
  RecordingPublisher publisher(buffer.data());
  SubStreamLog log;
  ScanProgramStream(buffer.data(), buffer.size(), traces, publisher, log);
  for (int s = 0; s < SubStreamLog::kSubStreams; ++s) EXPECT_FALSE(log.Met(s)) << s;
}

// A run of scrambled packets is counted in the sub-stream's own packets:
// another sub-stream's packets between them do not break it.
TEST(SubStreamLog, TheLongestRunOfScrambledPackets) {
  SubStreamLog log;
  const bool flags[] = {true, false, true, true, true, false, true};
  std::size_t offset = 0;
  for (const bool scrambled : flags) {
    log.Record(0x80, offset += 2048, scrambled);
    log.Record(0x20, offset += 2048, false);
  }
  EXPECT_EQ(log[0x80].scrambled, 5u);
  EXPECT_EQ(log[0x80].longest_scrambled_run, 3u);
  EXPECT_EQ(log[0x80].scrambled_run, 1u);
  EXPECT_EQ(log[0x20].longest_scrambled_run, 0u);
}

TEST(SubStreamLog, RecordKeepsTheFirstOffset) {
  SubStreamLog log;
  log.Record(0x81, 100, false);
  log.Record(0x81, 50, true);
  EXPECT_EQ(log[0x81].first_offset, 100u);
  EXPECT_EQ(log[0x81].packets, 2u);
  EXPECT_EQ(log[0x81].scrambled, 1u);
  EXPECT_FALSE(log.Met(0x80));
}

}  // namespace
}  // namespace tonvika::scan_test
