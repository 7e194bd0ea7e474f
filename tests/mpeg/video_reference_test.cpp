// The video reference time: frame periods, the first picture's headers and
// the move back to the first picture shown.

#include "mpeg/video_reference.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tonvika {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// 720x576, 16:9, then bit rate and the rest of the header.
Bytes SequenceHeader(int frame_rate_code) {
  return {0x00, 0x00, 0x01, 0xB3, 0x2D, 0x02, 0x40, static_cast<std::uint8_t>(0x30 | frame_rate_code),
          0x1B, 0x3F, 0xFF, 0xE0, 0x00};
}

// A GOP header whose time code ends in an odd picture count, so that the
// bit before closed_gop is set too; `fourth` adds closed_gop (0x40) or
// broken_link (0x20).
Bytes GopHeader(std::uint8_t fourth) {
  return {0x00, 0x00, 0x01, 0xB8, 0x00, 0x08, 0x00, static_cast<std::uint8_t>(0x80 | fourth)};
}
constexpr std::uint8_t kClosed = 0x40;
constexpr std::uint8_t kBrokenLink = 0x20;

// An I-picture header with the given temporal_reference.
Bytes PictureHeader(int temporal_reference) {
  return {0x00, 0x00, 0x01, 0x00, static_cast<std::uint8_t>(temporal_reference >> 2),
          static_cast<std::uint8_t>(((temporal_reference & 0x03) << 6) | 0x0F), 0xFF, 0xF8};
}

const Bytes kSlice = {0x00, 0x00, 0x01, 0x01, 0x12, 0x34, 0x00, 0x00, 0x01, 0x02, 0x56};

TEST(FramePeriod, QuarterTicksByFrameRateCode) {
  const std::optional<std::uint32_t> expected[16] = {std::nullopt, 15015, 15000, 14400, 12012, 12000, 7200, 6006, 6000};
  for (int code = 0; code < 16; ++code) EXPECT_EQ(FramePeriodQuarterTicks(code), expected[code]) << code;
  EXPECT_EQ(FramePeriodQuarterTicks(-1), std::nullopt);
}

TEST(FramePeriod, DurationsRoundToTheNearestTick) {
  struct Case {
    int pictures, code;
    std::optional<std::uint64_t> ticks;
  };
  const Case cases[] = {
      {0, 3, 0},        {2, 3, 7200},     {1, 1, 3754},  // 3753.75
      {2, 1, 7508},     // 7507.5, half up
      {4, 1, 15015},    {1, 7, 1502},     {3, 4, 9009},  {1023, 8, 1534500},
      {1, 0, std::nullopt}, {1, 9, std::nullopt}, {-1, 3, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PicturesDurationTicks(c.pictures, c.code), c.ticks) << c.pictures << " @ " << c.code;
  }
}

TEST(FirstPicture, ReadsTheHeadersBeforeTheFirstPicture) {
  struct Case {
    const char* name;
    Bytes payload;
    std::optional<int> frame_rate_code;
    bool closed_gop;
    std::optional<int> temporal_reference;
  };
  const Case cases[] = {
      {"closed", SequenceHeader(3) + GopHeader(kClosed) + PictureHeader(2) + kSlice, 3, true, 2},
      {"open", SequenceHeader(4) + GopHeader(0) + PictureHeader(2), 4, false, 2},
      {"broken link only", SequenceHeader(4) + GopHeader(kBrokenLink) + PictureHeader(0), 4, false, 0},
      {"top ten bits", PictureHeader(0x3FF), std::nullopt, false, 0x3FF},
      {"split ten bits", PictureHeader(0x201), std::nullopt, false, 0x201},
      {"slice data first", kSlice + GopHeader(kClosed) + PictureHeader(1), std::nullopt, true, 1},
      {"GOP after the picture", PictureHeader(3) + GopHeader(kClosed), std::nullopt, false, 3},
      {"sequence header after the picture", PictureHeader(3) + SequenceHeader(3), std::nullopt, false, 3},
      {"picture cut", GopHeader(kClosed) + Bytes{0x00, 0x00, 0x01, 0x00, 0x00}, std::nullopt, true, std::nullopt},
      {"GOP cut", Bytes{0x00, 0x00, 0x01, 0xB8, 0x00, 0x08, 0x00}, std::nullopt, false, std::nullopt},
      {"sequence header cut", Bytes{0x00, 0x00, 0x01, 0xB3, 0x2D, 0x02, 0x40}, std::nullopt, false, std::nullopt},
      {"prefix cut at the start", Bytes{0x00, 0x01, 0xB8, 0x00, 0x08, 0x00, 0xC0}, std::nullopt, false, std::nullopt},
      {"empty", Bytes{}, std::nullopt, false, std::nullopt},
  };
  for (const Case& c : cases) {
    const FirstPicture picture = ReadFirstPicture(c.payload);
    EXPECT_EQ(picture.frame_rate_code, c.frame_rate_code) << c.name;
    EXPECT_EQ(picture.closed_gop, c.closed_gop) << c.name;
    EXPECT_EQ(picture.temporal_reference, c.temporal_reference) << c.name;
  }
}

TEST(VideoReference, MovesBackOnlyInAClosedGop) {
  constexpr std::uint64_t kPts = 48003;
  constexpr std::uint64_t kBig = (std::uint64_t{1} << 32) + 90000;  // past 32 bits
  struct Case {
    const char* name;
    std::uint64_t pts;
    Bytes payload;
    std::uint64_t reference;
  };
  const Case cases[] = {
      {"open GOP: the PTS as is", kPts, SequenceHeader(3) + GopHeader(0) + PictureHeader(2), kPts},
      {"closed, tref 2 at 25", kPts, SequenceHeader(3) + GopHeader(kClosed) + PictureHeader(2), kPts - 7200},
      {"closed, tref 0", kPts, SequenceHeader(3) + GopHeader(kClosed) + PictureHeader(0), kPts},
      {"closed, tref 5 at 23.976", kPts, SequenceHeader(1) + GopHeader(kClosed) + PictureHeader(5), kPts - 18769},
      {"closed, tref 3 at 59.94", kPts, SequenceHeader(7) + GopHeader(kClosed) + PictureHeader(3), kPts - 4505},
      {"past 32 bits", kBig, SequenceHeader(4) + GopHeader(kClosed) + PictureHeader(1), kBig - 3003},
      {"no sequence header", kPts, GopHeader(kClosed) + PictureHeader(2), kPts},
      {"forbidden frame rate", kPts, SequenceHeader(0) + GopHeader(kClosed) + PictureHeader(2), kPts},
      {"reserved frame rate", kPts, SequenceHeader(9) + GopHeader(kClosed) + PictureHeader(2), kPts},
      {"no picture header", kPts, SequenceHeader(3) + GopHeader(kClosed), kPts},
      {"clamped at 0", 1000, SequenceHeader(3) + GopHeader(kClosed) + PictureHeader(2), 0},
      {"empty payload", kPts, Bytes{}, kPts},
  };
  for (const Case& c : cases) EXPECT_EQ(VideoReferencePts(c.pts, c.payload), c.reference) << c.name;
}

}  // namespace
}  // namespace tonvika
