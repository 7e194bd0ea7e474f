// The walk's rules on crafted buffers: what is found, what is stepped over,
// and how far into a cut-off packet it looks.

#include "mpeg/program_stream_scan.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "mpeg/sync_trace.h"
#include "scan_test_support.h"

namespace tonvika::scan_test {
namespace {

struct Frame {
  std::uint8_t b4, b5, b6;
};
constexpr Frame kFrameA{0x1C, 0x38, 0xE1};
constexpr Frame kFrameB{0x1E, 0x40, 0xE1};

// Layout of the AC-3 packets built below: PTS header of five bytes, S at
// P + 14, the three further sub-stream header bytes, then frames of 23
// bytes each from P + 18.
constexpr std::size_t kFirstFrame = 18;
constexpr std::size_t kFrameSize = 23;
std::size_t FrameOffset(std::size_t packet, std::size_t k) { return packet + kFirstFrame + kFrameSize * k; }

Bytes Ac3Packet(std::uint8_t sub_stream, const std::vector<Frame>& frames, std::uint8_t flags = 0x81) {
  PacketLayout layout;
  layout.flags = flags;
  layout.sub_stream = sub_stream;
  layout.body = {0x02, 0x00, 0x01};
  for (const Frame& f : frames) Append(layout.body, Ac3FrameHead(f.b4, f.b5, f.b6));
  return MakePacket(layout);
}

Bytes DtsPacket(std::uint8_t sub_stream, std::uint8_t flags = 0x81) {
  PacketLayout layout;
  layout.flags = flags;
  layout.sub_stream = sub_stream;
  layout.body = {0x01, 0x00, 0x01};
  Append(layout.body, DtsFrameHead());
  return MakePacket(layout);
}

Bytes LpcmPacket(std::uint8_t sub_stream, std::uint8_t attribute, std::uint8_t flags = 0x81) {
  PacketLayout layout;
  layout.flags = flags;
  layout.sub_stream = sub_stream;
  layout.body = {0x07, 0x00, 0x01, 0x80, attribute, 0x80, 0x11, 0x22, 0x33};
  return MakePacket(layout);
}

Bytes Padding(std::size_t count) { return Bytes(count, 0x00); }

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) Append(out, part);
  return out;
}

std::string Entry(std::size_t offset, Frame f) {
  char text[32];
  std::snprintf(text, sizeof text, "[%06zX %02X %02X %02X]", offset, f.b4, f.b5, f.b6);
  return text;
}

struct Outcome {
  Bytes buffer;
  SyncTraces traces;
  std::vector<Recorded> published;
};

struct Options {
  bool take_slots = true;
  std::uint8_t pre_taken = 0;
  Ac3Rewrite rewrite;
  SyncTraces traces;
};

// Scans an exact-size copy of `buffer`, so a read past its end is a heap
// overflow that AddressSanitizer reports.
Outcome Scan(const Bytes& buffer, Options options = {}) {
  Outcome out{Bytes(buffer), options.traces, {}};
  RecordingPublisher publisher(out.buffer.data(), options.take_slots);
  for (int n = 0; n < 8; ++n) {
    if (options.pre_taken & (1u << n)) publisher.TakeSlot(n);
  }
  publisher.SetAc3Rewrite(options.rewrite);
  ScanProgramStream(out.buffer.data(), out.buffer.size(), out.traces, publisher);
  out.published = publisher.published;
  return out;
}

Recorded Ac3At(int slot, const Bytes& buffer, std::size_t q) {
  return {TrackKind::Ac3, slot, true, q + 4, Bytes(buffer.begin() + q + 4, buffer.begin() + q + 19)};
}
Recorded DtsAt(int slot, const Bytes& buffer, std::size_t q) {
  return {TrackKind::Dts, slot, false, 0, Bytes(buffer.begin() + q + 4, buffer.begin() + q + 15)};
}
Recorded Lpcm(int slot, std::uint8_t attribute) { return {TrackKind::Lpcm, slot, false, 0, {attribute}}; }

// ----- Window size -----

TEST(ProgramStreamScan, WindowOfSixteenBytesOrLessFindsNothing) {
  // An LPCM packet with an empty PES header needs 15 bytes.
  const Bytes packet = MakePacket({0x81, 0x80, {}, 0xA0, {0x07, 0x00, 0x01, 0x80, 0x31, 0x00, 0x00}, -1});
  for (std::size_t size = 0; size <= 16; ++size) {
    Bytes buffer(packet.begin(), packet.begin() + static_cast<std::ptrdiff_t>(std::min(size, packet.size())));
    buffer.resize(size, 0x00);
    EXPECT_TRUE(Scan(buffer).published.empty()) << "size " << size;
  }
  Bytes seventeen(packet);
  seventeen.resize(17, 0x00);
  EXPECT_EQ(Scan(seventeen).published, std::vector<Recorded>{Lpcm(0, 0x31)});
}

TEST(ProgramStreamScan, WindowOfSeventeenBytesExaminesOnlyTheFirstPosition) {
  const Bytes packet = MakePacket({0x81, 0x80, {}, 0xA0, {0x07, 0x00, 0x01, 0x80, 0x31, 0x00, 0x00}, -1});
  Bytes shifted = Concat({{0xFF}, packet});
  Bytes seventeen(shifted.begin(), shifted.begin() + 17);
  EXPECT_TRUE(Scan(seventeen).published.empty());
  Bytes eighteen(shifted.begin(), shifted.begin() + 18);
  EXPECT_EQ(Scan(eighteen).published, std::vector<Recorded>{Lpcm(0, 0x31)});
}

// ----- Flags byte -----

struct FlagsCase {
  std::uint8_t flags;
  bool accepted;
};
constexpr std::array<FlagsCase, 10> kFlagsCases{{
    {0x80, true}, {0x81, true}, {0x85, true}, {0x8F, true}, {0x90, false},
    {0xB0, false}, {0xA0, false}, {0xC1, false}, {0x41, false}, {0x00, false},
}};

TEST(ProgramStreamScan, FlagsTopBitsMustBeOneZeroUnscrambledForEveryKind) {
  for (const FlagsCase& c : kFlagsCases) {
    SCOPED_TRACE(c.flags);
    const Bytes ac3 = Concat({Ac3Packet(0x81, {kFrameA, kFrameA, kFrameA}, c.flags), Padding(32)});
    const Outcome a = Scan(ac3);
    EXPECT_EQ(a.published.size(), c.accepted ? 1u : 0u);
    EXPECT_EQ(a.traces[1].count, c.accepted ? 3u : 0u);

    const Bytes dts = Concat({DtsPacket(0x8A, c.flags), Padding(32)});
    const Outcome d = Scan(dts);
    EXPECT_EQ(d.published, c.accepted ? std::vector<Recorded>{DtsAt(2, dts, 18)} : std::vector<Recorded>{});

    const Bytes lpcm = Concat({LpcmPacket(0xA3, 0x31, c.flags), Padding(32)});
    const Outcome l = Scan(lpcm);
    EXPECT_EQ(l.published, c.accepted ? std::vector<Recorded>{Lpcm(3, 0x31)} : std::vector<Recorded>{});
  }
}

// ----- Sub-stream numbers -----

struct KindRange {
  int first;
  TrackKind kind;
};
constexpr std::array<KindRange, 3> kKindRanges{{{0x80, TrackKind::Ac3}, {0x88, TrackKind::Dts}, {0xA0, TrackKind::Lpcm}}};

std::optional<TrackKind> ExpectedKind(int s) {
  for (const KindRange& r : kKindRanges) {
    if (s >= r.first && s < r.first + 8) return r.kind;
  }
  return std::nullopt;
}

TEST(ProgramStreamScan, OnlyTheThreeAudioRangesAreRecognised) {
  for (int s = 0; s < 256; ++s) {
    SCOPED_TRACE(s);
    // A body that would satisfy any kind: three agreeing AC-3 frames and a
    // DTS sync word.
    PacketLayout layout;
    layout.sub_stream = static_cast<std::uint8_t>(s);
    layout.body = {0x07, 0x00, 0x01, 0x80, 0x31};
    for (int k = 0; k < 3; ++k) Append(layout.body, Ac3FrameHead(0x1C, 0x38, 0xE1));
    Append(layout.body, DtsFrameHead());
    const Outcome out = Scan(Concat({MakePacket(layout), Padding(32)}));
    const std::optional<TrackKind> kind = ExpectedKind(s);
    if (!kind) {
      EXPECT_TRUE(out.published.empty());
      for (const SyncTrace& t : out.traces) EXPECT_EQ(t.count, 0u);
      continue;
    }
    ASSERT_EQ(out.published.size(), 1u);
    EXPECT_EQ(out.published[0].kind, *kind);
    EXPECT_EQ(out.published[0].slot, s & 7);
  }
}

// ----- AC-3 -----

TEST(ProgramStreamScan, Ac3PacketOfTwentyBytesIsNotSearched) {
  // A trace that already agrees makes the search stop at the first position
  // examined, the flags byte.
  SyncTraces agreed;
  for (int k = 0; k < 3; ++k) AppendSyncCandidate(agreed[0], 100 + k, 0x1C, 0x38, 0xE1);
  for (const int length : {0, 19, 20}) {
    const Bytes buffer = Concat({MakePacket({0x81, 0x80, {}, 0x80, Bytes(40, 0x55), length}), Padding(32)});
    EXPECT_TRUE(Scan(buffer, {true, 0, {}, agreed}).published.empty()) << length;
  }
  const Bytes buffer = Concat({MakePacket({0x81, 0x80, {}, 0x80, Bytes(40, 0x55), 21}), Padding(32)});
  EXPECT_EQ(Scan(buffer, {true, 0, {}, agreed}).published, std::vector<Recorded>{Ac3At(0, buffer, 6)});
}

TEST(ProgramStreamScan, Ac3PacketOfTwentyOneBytesExaminesTwoPositions) {
  // A sync word in the second flags byte and H (j = 1); H = 0x77 puts S at P + 128.
  Bytes at_j1 = {0x00, 0x00, 0x01, 0xBD, 0x00, 21, 0x81, 0x0B, 0x77, 0x00, 0x00, 0x1C, 0x38, 0xE1};
  at_j1.resize(128, 0x00);
  at_j1.push_back(0x80);
  Append(at_j1, Padding(32));
  EXPECT_EQ(Scan(at_j1).traces[0].text, "[000007 1C 38 E1]");
  at_j1[5] = 20;
  EXPECT_EQ(Scan(at_j1).traces[0].text, "");

  // A sync word in H and the byte after it (j = 2); H = 0x0B puts S at P + 20.
  Bytes at_j2 = {0x00, 0x00, 0x01, 0xBD, 0x00, 21, 0x81, 0x80, 0x0B, 0x77, 0x00, 0x00, 0x1C, 0x38, 0xE1};
  at_j2.resize(20, 0x00);
  at_j2.push_back(0x80);
  Append(at_j2, Padding(32));
  EXPECT_EQ(Scan(at_j2).traces[0].text, "");
  at_j2[5] = 22;
  EXPECT_EQ(Scan(at_j2).traces[0].text, "[000008 1C 38 E1]");
}

struct ConfirmationCase {
  const char* name;
  std::vector<Frame> frames;
  int confirming;  // index of the frame that confirms, -1 for none
};

TEST(ProgramStreamScan, Ac3ConfirmsWhenTheLastTwoOfThreeOrMoreCandidatesAgree) {
  const std::vector<ConfirmationCase> cases{
      {"two agreeing candidates", {kFrameA, kFrameA}, -1},
      {"three agreeing candidates", {kFrameA, kFrameA, kFrameA, kFrameA}, 2},
      {"first differs", {kFrameB, kFrameA, kFrameA}, 2},
      {"third differs", {kFrameA, kFrameA, kFrameB}, -1},
      {"fourth agrees with third", {kFrameA, kFrameA, kFrameB, kFrameB}, 3},
      {"low digit of byte 6 differs", {kFrameB, {0x1C, 0x38, 0xE1}, {0x1C, 0x38, 0xE7}}, 2},
      {"top of byte 6 differs", {kFrameB, {0x1C, 0x38, 0xE1}, {0x1C, 0x38, 0xF1}}, -1},
      {"byte 5 differs", {kFrameB, {0x1C, 0x38, 0xE1}, {0x1C, 0x39, 0xE1}}, -1},
      {"byte 4 differs", {kFrameB, {0x1C, 0x38, 0xE1}, {0x1D, 0x38, 0xE1}}, -1},
  };
  for (const ConfirmationCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes buffer = Concat({Padding(100), Ac3Packet(0x84, c.frames), Padding(32)});
    const Outcome out = Scan(buffer);
    if (c.confirming < 0) {
      EXPECT_TRUE(out.published.empty());
      EXPECT_EQ(out.traces[4].count, c.frames.size());
    } else {
      EXPECT_EQ(out.published, std::vector<Recorded>{Ac3At(4, buffer, FrameOffset(100, c.confirming))});
      EXPECT_EQ(out.traces[4].count, static_cast<std::size_t>(c.confirming + 1));
    }
  }
}

TEST(ProgramStreamScan, Ac3CandidatesAccumulateOverPackets) {
  const std::size_t second = 100 + Ac3Packet(0x80, {kFrameB}).size();
  const Bytes buffer =
      Concat({Padding(100), Ac3Packet(0x80, {kFrameB}), Ac3Packet(0x80, {kFrameA, kFrameA}), Padding(32)});
  const Outcome out = Scan(buffer);
  EXPECT_EQ(out.published, std::vector<Recorded>{Ac3At(0, buffer, FrameOffset(second, 1))});
  EXPECT_EQ(out.traces[0].text, Entry(FrameOffset(100, 0), kFrameB) + Entry(FrameOffset(second, 0), kFrameA) +
                                    Entry(FrameOffset(second, 1), kFrameA));
}

TEST(ProgramStreamScan, FalseSyncWordInPesHeaderIsATraceEntry) {
  // The PTS bytes 21 0B 77 .. put a sync word at P + 10; its byte 4 is S.
  PacketLayout layout;
  layout.header = {0x21, 0x0B, 0x77, 0x00, 0x01};
  layout.sub_stream = 0x80;
  layout.body = {0x02, 0x00, 0x01};
  Append(layout.body, Ac3FrameHead(kFrameA.b4, kFrameA.b5, kFrameA.b6));
  const Bytes one_frame = Concat({MakePacket(layout), Padding(32)});
  const Outcome first = Scan(one_frame);
  EXPECT_EQ(first.traces[0].text, "[00000A 80 02 00]" + Entry(18, kFrameA));
  EXPECT_TRUE(first.published.empty());

  Append(layout.body, Ac3FrameHead(kFrameA.b4, kFrameA.b5, kFrameA.b6));
  const Bytes two_frames = Concat({MakePacket(layout), Padding(32)});
  const Outcome second = Scan(two_frames);
  EXPECT_EQ(second.traces[0].text, "[00000A 80 02 00]" + Entry(18, kFrameA) + Entry(41, kFrameA));
  EXPECT_EQ(second.published, std::vector<Recorded>{Ac3At(0, two_frames, 41)});
}

struct BitRateCase {
  std::uint8_t byte4;
  bool candidate;
};
constexpr std::array<BitRateCase, 9> kBitRateCases{{
    {0x00, true}, {0x24, true}, {0x25, true}, {0x26, false}, {0x27, false},
    {0x3E, false}, {0x40, true}, {0xE5, true}, {0xE6, false},
}};

TEST(ProgramStreamScan, FrameSizeCodeOf38OrAboveIsNoCandidate) {
  for (const BitRateCase& c : kBitRateCases) {
    SCOPED_TRACE(c.byte4);
    const Outcome out = Scan(Concat({Ac3Packet(0x80, {{c.byte4, 0x38, 0xE1}}), Padding(32)}));
    EXPECT_EQ(out.traces[0].count, c.candidate ? 1u : 0u);
    EXPECT_EQ(out.traces[0].text, c.candidate ? Entry(18, {c.byte4, 0x38, 0xE1}) : "");
  }
}

TEST(ProgramStreamScan, TraceEntryFormat) {
  // Packet at 0x1290: frame k = 0 lies at 0x12A2; put filler so it lands at 0x12AB.
  PacketLayout layout;
  layout.sub_stream = 0x80;
  layout.body = {0x02, 0x00, 0x01, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  Append(layout.body, Ac3FrameHead(0x1C, 0x38, 0xE1));
  const Outcome out = Scan(Concat({Padding(0x1290), MakePacket(layout), Padding(32)}));
  EXPECT_EQ(out.traces[0].text, "[0012AB 1C 38 E1]");
}

TEST(ProgramStreamScan, AfterAgreeingLaterPacketsStopAtTheFlagsByte) {
  const std::size_t second = 100 + Ac3Packet(0x85, {kFrameA, kFrameA, kFrameA}).size();
  const Bytes buffer = Concat({Padding(100), Ac3Packet(0x85, {kFrameA, kFrameA, kFrameA}),
                               Ac3Packet(0x85, {kFrameB, kFrameB, kFrameB}), Padding(32)});
  // A publisher that leaves the slot free shows where the search stopped.
  const Outcome out = Scan(buffer, Options{false, 0, {}, {}});
  EXPECT_EQ(out.published,
            (std::vector<Recorded>{Ac3At(5, buffer, FrameOffset(100, 2)), Ac3At(5, buffer, second + 6)}));
  EXPECT_EQ(out.traces[5].count, 3u);
  EXPECT_EQ(out.traces[5].text, Entry(FrameOffset(100, 0), kFrameA) + Entry(FrameOffset(100, 1), kFrameA) +
                                    Entry(FrameOffset(100, 2), kFrameA));

  const Outcome taking = Scan(buffer);
  EXPECT_EQ(taking.published, std::vector<Recorded>{Ac3At(5, buffer, FrameOffset(100, 2))});
  EXPECT_EQ(taking.traces[5].text, out.traces[5].text);
}

TEST(ProgramStreamScan, SlotTakenByLpcmKeepsItWhileTheAc3TraceGrowsUntilAgreement) {
  const std::size_t ac3_first = 100 + LpcmPacket(0xA2, 0x31).size();
  const Bytes buffer = Concat({Padding(100), LpcmPacket(0xA2, 0x31), Ac3Packet(0x82, {kFrameB, kFrameA, kFrameA}),
                               Ac3Packet(0x82, {kFrameB, kFrameB, kFrameB}), Padding(32)});
  const Outcome out = Scan(buffer);
  EXPECT_EQ(out.published, std::vector<Recorded>{Lpcm(2, 0x31)});
  EXPECT_EQ(out.traces[2].text, Entry(FrameOffset(ac3_first, 0), kFrameB) +
                                    Entry(FrameOffset(ac3_first, 1), kFrameA) +
                                    Entry(FrameOffset(ac3_first, 2), kFrameA));
}

TEST(ProgramStreamScan, Ac3TraceGrowsForASlotTakenBeforeTheScan) {
  const Bytes buffer = Concat({Ac3Packet(0x83, {kFrameB}), Ac3Packet(0x83, {kFrameA}), Padding(32)});
  const Outcome out = Scan(buffer, Options{true, 0x08, {}, {}});
  EXPECT_TRUE(out.published.empty());
  EXPECT_EQ(out.traces[3].count, 2u);
}

TEST(ProgramStreamScan, Ac3IsFoundBeyondSixteenMebibytes) {
  constexpr std::size_t kMark = 16u << 20;
  const std::size_t packet = kMark + 0x100;
  Bytes buffer(packet, 0x00);
  Append(buffer, Ac3Packet(0x86, {kFrameB, kFrameA, kFrameA}));
  Append(buffer, Padding(1000));
  const Outcome out = Scan(buffer);
  EXPECT_EQ(out.published, std::vector<Recorded>{Ac3At(6, buffer, FrameOffset(packet, 2))});
  EXPECT_EQ(out.traces[6].text, "[1000112 1E 40 E1][1000129 1C 38 E1][1000140 1C 38 E1]");
}

TEST(ProgramStreamScan, Ac3ConfirmedAcrossTheSixteenMebibyteMark) {
  constexpr std::size_t kMark = 16u << 20;
  const std::size_t packet = kMark - 40;  // frame 0 lies below the mark, frames 1 and 2 beyond
  Bytes buffer(packet, 0x00);
  Append(buffer, Ac3Packet(0x80, {kFrameA, kFrameA, kFrameA}));
  Append(buffer, Padding(1000));
  const Outcome out = Scan(buffer);
  EXPECT_EQ(out.published, std::vector<Recorded>{Ac3At(0, buffer, FrameOffset(packet, 2))});
  EXPECT_EQ(out.traces[0].text, "[FFFFEA 1C 38 E1][1000001 1C 38 E1][1000018 1C 38 E1]");
}

// ----- DTS -----

TEST(ProgramStreamScan, DtsHandsOverTheElevenBytesAfterTheFirstSyncWord) {
  PacketLayout layout;
  layout.sub_stream = 0x8F;
  layout.body = {0x02, 0x00, 0x01};
  Append(layout.body, DtsFrameHead());
  Bytes second = DtsFrameHead();
  second[4] = 0x00;
  Append(layout.body, second);
  const Bytes buffer = Concat({Padding(7), MakePacket(layout), Padding(32)});
  const Outcome out = Scan(buffer);
  ASSERT_EQ(out.published.size(), 1u);
  EXPECT_EQ(out.published[0], DtsAt(7, buffer, 7 + 18));
  const Bytes head = DtsFrameHead();
  EXPECT_EQ(out.published[0].bytes, Bytes(head.begin() + 4, head.end()));
}

TEST(ProgramStreamScan, DtsPacketLengthBoundsTheSearch) {
  // A sync word in the second flags byte, H and beyond (j = 1); H = 0xFE
  // puts S at P + 263.
  Bytes buffer = {0x00, 0x00, 0x01, 0xBD, 0x00, 0x00, 0x81, 0x7F, 0xFE, 0x80, 0x01};
  for (int i = 0; i < 11; ++i) buffer.push_back(static_cast<std::uint8_t>(0xC0 + i));
  buffer.resize(263, 0x00);
  buffer.push_back(0x88);
  Append(buffer, Padding(32));
  for (const std::uint8_t length : {7, 8}) {
    buffer[5] = length;
    EXPECT_TRUE(Scan(buffer).published.empty()) << int{length};
  }
  buffer[5] = 9;
  EXPECT_EQ(Scan(buffer).published, std::vector<Recorded>{DtsAt(0, buffer, 7)});
}

TEST(ProgramStreamScan, DtsBytesMayLieBeyondThePacket) {
  // L = 9 ends the packet at P + 14; the header bytes run on to P + 21.
  Bytes buffer = {0x00, 0x00, 0x01, 0xBD, 0x00, 9, 0x81, 0x7F, 0xFE, 0x80, 0x01};
  for (int i = 0; i < 11; ++i) buffer.push_back(static_cast<std::uint8_t>(0xC0 + i));
  buffer.resize(263, 0x00);
  buffer.push_back(0x89);
  Append(buffer, Padding(32));
  const Outcome out = Scan(buffer);
  ASSERT_EQ(out.published.size(), 1u);
  EXPECT_EQ(out.published[0].bytes, (Bytes{0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA}));
}

// ----- LPCM -----

TEST(ProgramStreamScan, LpcmAttributeComesFromTheFirstPacketOnly) {
  const Bytes buffer = Concat({LpcmPacket(0xA1, 0x31), LpcmPacket(0xA1, 0x11), Padding(32)});
  EXPECT_EQ(Scan(buffer).published, std::vector<Recorded>{Lpcm(1, 0x31)});
}

TEST(ProgramStreamScan, LpcmAttributeFollowsThePesHeaderLength) {
  for (std::size_t h = 0; h < 12; ++h) {
    PacketLayout layout;
    layout.header = Bytes(h, 0xFF);
    layout.sub_stream = 0xA7;
    layout.body = {0x07, 0x00, 0x01, 0x80, static_cast<std::uint8_t>(0x40 + h)};
    EXPECT_EQ(Scan(Concat({MakePacket(layout), Padding(20)})).published,
              std::vector<Recorded>{Lpcm(7, static_cast<std::uint8_t>(0x40 + h))});
  }
}

TEST(ProgramStreamScan, EachKindTakesItsSlotOnlyOnce) {
  const Bytes buffer = Concat({DtsPacket(0x88), LpcmPacket(0xA0, 0x31), Ac3Packet(0x80, {kFrameA, kFrameA, kFrameA}),
                               DtsPacket(0x89), Padding(32)});
  const Outcome out = Scan(buffer);
  ASSERT_EQ(out.published.size(), 2u);
  EXPECT_EQ(out.published[0].kind, TrackKind::Dts);
  EXPECT_EQ(out.published[0].slot, 0);
  EXPECT_EQ(out.published[1].kind, TrackKind::Dts);
  EXPECT_EQ(out.published[1].slot, 1);
}

// ----- Packets cut off by the end of the window -----

TEST(ProgramStreamScan, SubStreamNumberPastTheWindowSkipsThePacket) {
  // P = W - 17, the last position walked; S lies at P + 9 + H.
  for (std::size_t h = 0; h <= 9; ++h) {
    SCOPED_TRACE(h);
    Bytes buffer = Padding(40);
    const std::size_t p = 40;
    Append(buffer, {0x00, 0x00, 0x01, 0xBD, 0x00, 0x40, 0x81, 0x80, static_cast<std::uint8_t>(h)});
    buffer.resize(p + 17, 0xA0);  // every byte after H reads as LPCM sub-stream 0
    const Outcome out = Scan(buffer);
    // The attribute byte P + 14 + H must lie inside too.
    if (p + 14 + h <= buffer.size() - 1) {
      EXPECT_EQ(out.published, std::vector<Recorded>{Lpcm(0, 0xA0)});
    } else {
      EXPECT_TRUE(out.published.empty());
    }
  }
}

TEST(ProgramStreamScan, Ac3SearchEndsWhereTheFramePassesTheWindow) {
  // The packet claims more bytes than the window holds; the third frame's
  // analysed bytes end exactly at the last byte of the window.
  const Bytes packet = Ac3Packet(0x80, {kFrameA, kFrameA, kFrameA});
  const std::size_t third = FrameOffset(0, 2);
  Bytes whole(packet.begin(), packet.begin() + static_cast<std::ptrdiff_t>(third + 19));
  whole[4] = 0x10;  // L = 0x10xx
  const Outcome found = Scan(whole);
  EXPECT_EQ(found.published, std::vector<Recorded>{Ac3At(0, whole, third)});

  const Bytes cut(whole.begin(), whole.end() - 1);
  const Outcome cut_out = Scan(cut);
  EXPECT_TRUE(cut_out.published.empty());
  EXPECT_EQ(cut_out.traces[0].count, 2u);
}

TEST(ProgramStreamScan, DtsSearchEndsWhereTheHeaderBytesPassTheWindow) {
  const Bytes packet = DtsPacket(0x88);
  Bytes whole(packet.begin(), packet.begin() + 18 + 15);
  whole[4] = 0x10;
  EXPECT_EQ(Scan(whole).published, std::vector<Recorded>{DtsAt(0, whole, 18)});
  const Bytes cut(whole.begin(), whole.end() - 1);
  EXPECT_TRUE(Scan(cut).published.empty());
}

TEST(ProgramStreamScan, LpcmAttributeOnTheLastByteOfTheWindow) {
  const Bytes packet = LpcmPacket(0xA4, 0x31);
  const Bytes whole(packet.begin(), packet.begin() + 20);  // attribute at P + 14 + 5
  EXPECT_EQ(Scan(whole).published, std::vector<Recorded>{Lpcm(4, 0x31)});
  const Bytes cut(whole.begin(), whole.end() - 1);
  EXPECT_TRUE(Scan(cut).published.empty());
}

// ----- The walk -----

TEST(ProgramStreamScan, WalkResumesAfterPPlusLAndRereadsTheLastFiveBytes) {
  // An LPCM packet with L = 8: the walk goes on at P + 9, inside its bytes,
  // where a second start code begins.
  const Bytes second = LpcmPacket(0xA1, 0x22);
  Bytes buffer = {0x00, 0x00, 0x01, 0xBD, 0x00, 0x08, 0x81, 0x80, 0x00};
  Append(buffer, second);
  Append(buffer, Padding(32));
  // S of the first packet is the second packet's first byte, 0x00: no kind.
  EXPECT_EQ(Scan(buffer).published, std::vector<Recorded>{Lpcm(1, 0x22)});

  // Had the first packet been one byte longer, the second start code would
  // have been jumped over.
  buffer[5] = 0x09;
  EXPECT_TRUE(Scan(buffer).published.empty());
}

TEST(ProgramStreamScan, WalkReadsTheBytesTheAc3AnalysisRewrote) {
  // The confirming frame is the last position searched (j = L - 20), so the
  // rewritten bytes Q + 15 .. Q + 17 are searched again. Writing 00 00 01
  // there, in front of an existing BD, makes an LPCM packet appear.
  PacketLayout layout;
  layout.sub_stream = 0x80;
  layout.body = {0x03, 0x00, 0x01};
  Append(layout.body, Ac3FrameHead(kFrameA.b4, kFrameA.b5, kFrameA.b6));
  Append(layout.body, Ac3FrameHead(kFrameA.b4, kFrameA.b5, kFrameA.b6));
  Append(layout.body, Ac3FrameHead(kFrameA.b4, kFrameA.b5, kFrameA.b6, 11));
  Append(layout.body, {0xBD, 0x00});
  const Bytes packet = MakePacket(layout);
  const std::size_t q = FrameOffset(0, 2);
  const std::size_t length = packet.size() - 6;
  ASSERT_EQ(q, 6 + length - 20);
  const Bytes buffer = Concat({packet, {0x0A, 0x81, 0x80, 0x00, 0xA3, 0x07, 0x00, 0x01, 0x80, 0x55}, Padding(32)});

  const Outcome plain = Scan(buffer);
  EXPECT_EQ(plain.published, std::vector<Recorded>{Ac3At(0, buffer, q)});

  Options rewriting;
  rewriting.rewrite = [](std::uint8_t* b, std::size_t offset) {
    b[offset + 11] = 0x00;
    b[offset + 12] = 0x00;
    b[offset + 13] = 0x01;
  };
  const Outcome rewritten = Scan(buffer, rewriting);
  EXPECT_EQ(rewritten.published, (std::vector<Recorded>{Ac3At(0, buffer, q), Lpcm(3, 0x55)}));

  // The plain walk agrees.
  Bytes reference_buffer(buffer);
  RecordingPublisher reference(reference_buffer.data());
  reference.SetAc3Rewrite(rewriting.rewrite);
  ReferenceTraces traces;
  ReferenceScan(reference_buffer.data(), reference_buffer.size(), traces, reference);
  EXPECT_EQ(reference.published, rewritten.published);
}

TEST(ProgramStreamScan, StartCodeInsideAnotherPacketIsAPacketStart) {
  // A video packet whose payload holds an LPCM packet.
  Bytes buffer = {0x00, 0x00, 0x01, 0xE0, 0x00, 0x40, 0x81, 0x80, 0x00};
  Append(buffer, LpcmPacket(0xA5, 0x66));
  Append(buffer, Padding(64));
  EXPECT_EQ(Scan(buffer).published, std::vector<Recorded>{Lpcm(5, 0x66)});
}

}  // namespace
}  // namespace tonvika::scan_test
