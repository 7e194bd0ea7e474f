// The declared streams beside the tracks found.

#include "analysis/stream_overview.h"

#include <gtest/gtest.h>

#include "support/ifo_builder.h"

namespace tonvika {
namespace {

using testing::IfoBuilder;

PublishedTrack Track(TrackKind kind, int slot) { return {kind, SubStreamBase(kind) + slot, Ac3Header{}, {}, {}}; }

struct Row {
  std::optional<int> entry;
  std::optional<int> stream_id;
  std::optional<int> slot;
  bool operator==(const Row&) const = default;
};

std::vector<Row> Rows(const std::vector<StreamOverviewRow>& rows) {
  std::vector<Row> out;
  for (const StreamOverviewRow& r : rows) out.push_back({r.entry, r.stream_id, r.slot});
  return out;
}

constexpr std::optional<int> kNone = std::nullopt;

TEST(StreamOverview, EachTrackStandsBesideTheEntryThatNamedIt) {
  // Entry 0 [en] plays stream 1, entry 1 [ja] stream 0; entry 2 DTS is
  // unavailable; a DTS track in slot 3 has no entry of its own.
  const DeclaredAudio declared = ReadDeclaredAudio(
      IfoBuilder().Add({0, "en"}).Add({0, "ja"}).Add({6, "de"}).ChainPlaying({1, 0, kNone}).Build());
  FoundTracks tracks;
  tracks[0] = Track(TrackKind::Ac3, 0);
  tracks[1] = Track(TrackKind::Ac3, 1);
  tracks[3] = Track(TrackKind::Dts, 3);
  const std::vector<StreamOverviewRow> rows = OverviewStreams(declared, tracks);
  EXPECT_EQ(Rows(rows), (std::vector<Row>{{0, 0x81, 1}, {1, 0x80, 0}, {2, kNone, kNone}, {kNone, 0x8B, 3}}));
  EXPECT_EQ(rows[0].declared, "AC-3 2ch 48000Hz en");
  EXPECT_EQ(rows[3].declared, "");
}

TEST(StreamOverview, WithoutAnIfoOnlyTheTracks) {
  FoundTracks tracks;
  tracks[2] = Track(TrackKind::Lpcm, 2);
  EXPECT_EQ(Rows(OverviewStreams(DeclaredAudio{}, tracks)), (std::vector<Row>{{kNone, 0xA2, 2}}));
  EXPECT_TRUE(OverviewStreams(DeclaredAudio{}, FoundTracks{}).empty());
}

TEST(StreamOverview, WithoutAChainEntryNIsSlotN) {
  const DeclaredAudio declared = ReadDeclaredAudio(IfoBuilder().Add({0, "en"}).Add({0, "ja"}).Build());
  FoundTracks tracks;
  tracks[1] = Track(TrackKind::Ac3, 1);
  EXPECT_EQ(Rows(OverviewStreams(declared, tracks)), (std::vector<Row>{{0, kNone, kNone}, {1, kNone, 1}}));
}

TEST(StreamOverview, StreamIdsByCoding) {
  const DeclaredAudio declared = ReadDeclaredAudio(
      IfoBuilder().Add({0, ""}).Add({6, ""}).Add({4, ""}).Add({3, ""}).ChainPlaying({2, 3, 4, 5}).Build());
  std::vector<std::optional<int>> ids;
  for (const DeclaredAudioEntry& entry : declared.entries) ids.push_back(DeclaredStreamId(entry));
  // MPEG audio travels in PES packets of its own, 0xC0 + n.
  EXPECT_EQ(ids, (std::vector<std::optional<int>>{0x82, 0x8B, 0xA4, 0xC5}));
}

}  // namespace
}  // namespace tonvika
