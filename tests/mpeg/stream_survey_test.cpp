// The walk by lengths over packs and packets: what it tells of each audio
// stream, how it steps over stuffing, payload bytes and junk, and where a
// cut window stops it.

#include "mpeg/stream_survey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <vector>

#include "support/stream_builder.h"

namespace tonvika {
namespace {

using testing::Append;
using testing::Bytes;

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) Append(out, part);
  return out;
}

// Five bytes of a time stamp with the given 4-bit mark (0010: PTS alone,
// 0011: PTS before a DTS, 0001: that DTS).
Bytes TimeStamp(std::uint64_t value, std::uint8_t mark = 0x20) {
  return {static_cast<std::uint8_t>(mark | ((value >> 29) & 0x0E) | 0x01), static_cast<std::uint8_t>(value >> 22),
          static_cast<std::uint8_t>(((value >> 14) & 0xFE) | 0x01), static_cast<std::uint8_t>(value >> 7),
          static_cast<std::uint8_t>(((value << 1) & 0xFE) | 0x01)};
}

void SetLength(Bytes& packet) {
  const std::size_t length = packet.size() - 6;
  packet[4] = static_cast<std::uint8_t>(length >> 8);
  packet[5] = static_cast<std::uint8_t>(length & 0xFF);
}

// An MPEG-2 PES packet; `flags` 0x81 is marker 10, scrambling 00, original.
struct Pes {
  std::uint8_t id = 0xC0;
  Bytes payload{};
  std::optional<std::uint64_t> pts{};
  std::uint8_t flags = 0x81;
};

Bytes Packet(const Pes& pes) {
  const Bytes header = pes.pts ? TimeStamp(*pes.pts) : Bytes{};
  Bytes packet{0x00, 0x00, 0x01, pes.id, 0, 0, pes.flags, static_cast<std::uint8_t>(pes.pts ? 0x80 : 0x00),
               static_cast<std::uint8_t>(header.size())};
  Append(packet, header);
  Append(packet, pes.payload);
  SetLength(packet);
  return packet;
}

// An MPEG-1 packet: its header fields as given, then the payload.
Bytes Mpeg1Packet(std::uint8_t id, const Bytes& header, const Bytes& payload) {
  Bytes packet = Join({{0x00, 0x00, 0x01, id, 0, 0}, header, payload});
  SetLength(packet);
  return packet;
}

// A private stream 1 payload: number, frame count, first access unit
// pointer, then `data`.
Bytes SubStream(std::uint8_t number, const Bytes& data, std::uint16_t access_unit = 1) {
  return Join({{number, 0x01, static_cast<std::uint8_t>(access_unit >> 8), static_cast<std::uint8_t>(access_unit)},
               data});
}

// LPCM adds three attribute bytes; the second is the one the survey keeps.
Bytes LpcmSubStream(std::uint8_t number, std::uint8_t attribute, const Bytes& data) {
  return Join({{number, 0x01, 0x00, 0x04, 0x00, attribute, 0x80}, data});
}

Bytes Mpeg2Pack(std::uint8_t stuffing = 0) {
  Bytes pack{0x00, 0x00, 0x01, 0xBA, 0x44, 0x00, 0x04, 0x00, 0x04, 0x01, 0x01, 0x89, 0xC3,
             static_cast<std::uint8_t>(0xF8 | stuffing)};
  pack.resize(pack.size() + stuffing, 0xFF);
  return pack;
}

const Bytes kMpeg1Pack = {0x00, 0x00, 0x01, 0xBA, 0x21, 0x00, 0x01, 0x00, 0x01, 0x80, 0x00, 0x01};
const Bytes kEndCode = {0x00, 0x00, 0x01, 0xB9};

// bytes[from .. from + count - 1].
Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t count) {
  const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(from);
  return Bytes(first, first + static_cast<std::ptrdiff_t>(count));
}

// `count` bytes counting up from `first`.
Bytes Data(std::size_t count, std::uint8_t first = 0) {
  Bytes data(count);
  for (std::size_t i = 0; i < count; ++i) data[i] = static_cast<std::uint8_t>(first + i);
  return data;
}

const Bytes kMpegAudioFrame = {0xFF, 0xFD, 0x94, 0x00, 0x11, 0x22, 0x33};

const StreamSurveyEntry* Find(const StreamSurvey& survey, int key) {
  const auto it = std::find_if(survey.streams.begin(), survey.streams.end(),
                               [key](const StreamSurveyEntry& entry) { return entry.key == key; });
  return it == survey.streams.end() ? nullptr : &*it;
}

std::vector<int> Keys(const StreamSurvey& survey) {
  std::vector<int> keys;
  for (const StreamSurveyEntry& entry : survey.streams) keys.push_back(entry.key);
  return keys;
}

TEST(StreamKind, KindsByKey) {
  const std::pair<int, std::optional<StreamKind>> cases[] = {
      {0x7F, std::nullopt},
      {0x80, StreamKind::Ac3},
      {0x87, StreamKind::Ac3},
      {0x88, StreamKind::Dts},
      {0x8F, StreamKind::Dts},
      {0x90, std::nullopt},
      {0x9F, std::nullopt},
      {0xA0, StreamKind::Lpcm},
      {0xA7, StreamKind::Lpcm},
      {0xA8, std::nullopt},
      {0xBF, std::nullopt},
      {0xC0, StreamKind::MpegAudio},
      {0xCF, StreamKind::MpegAudio},
      {0xD0, StreamKind::MpegAudioExtension},
      {0xD7, StreamKind::MpegAudioExtension},
      {0xD8, StreamKind::MpegAudio},
      {0xDF, StreamKind::MpegAudio},
      {0xE0, std::nullopt},
      {0x20, std::nullopt},
  };
  for (const auto& [key, kind] : cases) EXPECT_EQ(KindOfAudioStream(key), kind) << key;
  EXPECT_STREQ(StreamKindName(StreamKind::Lpcm), "LPCM");
  EXPECT_STREQ(StreamKindName(StreamKind::MpegAudioExtension), "MPEG audio extension");
}

TEST(StreamSurvey, StepsOverEveryKindOfPackHeader) {
  const Bytes packet = Packet({.payload = kMpegAudioFrame, .pts = 9000});
  struct Case {
    const char* name;
    Bytes stream;
    std::uint32_t packs, resyncs;
  };
  const Case cases[] = {
      {"MPEG-2", Join({Mpeg2Pack(), packet}), 1, 0},
      {"MPEG-2, stuffing 3", Join({Mpeg2Pack(3), packet}), 1, 0},
      {"MPEG-2, stuffing 7", Join({Mpeg2Pack(7), packet}), 1, 0},
      {"MPEG-1", Join({kMpeg1Pack, packet}), 1, 0},
      {"end code between packs", Join({kMpeg1Pack, kEndCode, Mpeg2Pack(2), packet}), 2, 0},
      {"neither mark", Join({{0x00, 0x00, 0x01, 0xBA, 0x00, 0x12}, packet}), 0, 1},
  };
  for (const Case& c : cases) {
    const StreamSurvey survey = SurveyProgramStream(c.stream);
    EXPECT_EQ(survey.packs, c.packs) << c.name;
    EXPECT_EQ(survey.resyncs, c.resyncs) << c.name;
    EXPECT_EQ(survey.pes_packets, 1u) << c.name;
    ASSERT_EQ(Keys(survey), std::vector<int>{0xC0}) << c.name;
    EXPECT_EQ(survey.streams[0].head, kMpegAudioFrame) << c.name;
    EXPECT_EQ(survey.streams[0].first_pts, 9000u) << c.name;
  }
}

TEST(StreamSurvey, StartCodesInsideAPayloadAreNoPackets) {
  // An AC-3 payload that holds what reads as a pack and an MPEG audio packet.
  const Bytes data = Join({Data(10), kMpeg1Pack, Packet({.payload = kMpegAudioFrame, .pts = 1}), Data(10)});
  const Bytes stream = Join({Mpeg2Pack(), Packet({.id = 0xBD, .payload = SubStream(0x80, data), .pts = 3000})});
  const StreamSurvey survey = SurveyProgramStream(stream);
  EXPECT_EQ(Keys(survey), std::vector<int>{0x80});
  EXPECT_EQ(survey.packs, 1u);
  EXPECT_EQ(survey.pes_packets, 1u);
  EXPECT_EQ(survey.resyncs, 0u);
  EXPECT_EQ(survey.streams[0].head, data);
}

TEST(StreamSurvey, FindsItsWayBackAfterJunk) {
  const Bytes first = Join({Mpeg2Pack(), Packet({.id = 0xBD, .payload = SubStream(0x81, Data(20)), .pts = 100})});
  const Bytes second = Join({Mpeg2Pack(), Packet({.payload = kMpegAudioFrame, .pts = 200})});
  // Start codes of the video elementary stream (below 0xB9) are junk here.
  const Bytes junk = {0x00, 0x00, 0x01, 0x42, 0x00, 0x00, 0x00, 0x01, 0xB8, 0x00, 0x01, 0x00};
  Bytes short_length = first;
  short_length[Mpeg2Pack().size() + 5] -= 4;  // the packet's length now ends inside its payload
  struct Case {
    const char* name;
    Bytes stream;
    std::uint32_t packs;
  };
  const Case cases[] = {
      {"junk between packs", Join({first, junk, second}), 2},
      {"junk before the first pack", Join({junk, first, second}), 2},
      {"a length too short", Join({short_length, second}), 2},
      {"the tail of a packet first", Join({Bytes(first.begin() + 20, first.end()), second}), 1},
  };
  for (const Case& c : cases) {
    const StreamSurvey survey = SurveyProgramStream(c.stream);
    EXPECT_EQ(survey.resyncs, 1u) << c.name;
    EXPECT_EQ(survey.packs, c.packs) << c.name;
    const StreamSurveyEntry* audio = Find(survey, 0xC0);
    ASSERT_NE(audio, nullptr) << c.name;
    EXPECT_EQ(audio->first_pts, 200u) << c.name;
    EXPECT_EQ(audio->head, kMpegAudioFrame) << c.name;
  }
}

TEST(StreamSurvey, APacketCutByTheWindowGivesWhatLiesInside) {
  const Bytes data = Data(100);
  const Bytes pack = Mpeg2Pack();
  const Bytes ac3 = Packet({.id = 0xBD, .payload = SubStream(0x80, data), .pts = 7000});
  const Bytes mpeg = Packet({.payload = data, .pts = 7000});
  const std::size_t header = 9 + 5;  // to the payload
  struct Case {
    const char* name;
    Bytes stream;
    std::size_t window;
    std::uint32_t pes_packets;
    std::size_t streams;
    std::optional<std::uint64_t> pts;
    std::size_t head;
  };
  const Case cases[] = {
      {"AC-3 cut in its data", Join({pack, ac3}), pack.size() + header + 4 + 30, 1, 1, 7000, 30},
      {"AC-3 cut in its sub-stream header", Join({pack, ac3}), pack.size() + header + 2, 1, 1, 7000, 0},
      {"AC-3 cut before its sub-stream number", Join({pack, ac3}), pack.size() + header, 1, 0, std::nullopt, 0},
      {"MPEG audio cut in its data", Join({pack, mpeg}), pack.size() + header + 55, 1, 1, 7000, 55},
      {"MPEG audio cut in its PTS", Join({pack, mpeg}), pack.size() + 12, 1, 1, std::nullopt, 0},
      {"cut in the packet length", Join({pack, mpeg}), pack.size() + 5, 0, 0, std::nullopt, 0},
      {"cut in the pack header", Join({pack, mpeg}), 10, 0, 0, std::nullopt, 0},
  };
  for (const Case& c : cases) {
    const StreamSurvey survey = SurveyProgramStream(Slice(c.stream, 0, c.window));
    EXPECT_EQ(survey.pes_packets, c.pes_packets) << c.name;
    EXPECT_EQ(survey.resyncs, 0u) << c.name;
    ASSERT_EQ(survey.streams.size(), c.streams) << c.name;
    if (c.streams == 0) continue;
    EXPECT_EQ(survey.streams[0].packets, 1u) << c.name;
    EXPECT_EQ(survey.streams[0].first_pts, c.pts) << c.name;
    EXPECT_EQ(survey.streams[0].head, Slice(data, 0, c.head)) << c.name;
  }
}

TEST(StreamSurvey, EveryCutAndEveryDamagedByteStaysInsideTheWindow) {
  const Bytes stream =
      Join({Mpeg2Pack(2), Packet({.id = 0xE0, .payload = Data(40), .pts = 90}),
            Packet({.id = 0xBD, .payload = LpcmSubStream(0xA0, 0x11, Data(30)), .pts = 90}),
            Mpeg1Packet(0xC1, Join({{0xFF, 0x40, 0x00}, TimeStamp(90, 0x30), TimeStamp(80, 0x10)}), kMpegAudioFrame),
            kEndCode});
  const StreamSurvey whole = SurveyProgramStream(stream);
  ASSERT_EQ(Keys(whole), (std::vector<int>{0xA0, 0xC1}));
  for (std::size_t size = 0; size <= stream.size(); ++size) {
    // Each cut is copied alone, so the sanitizers see any read past it.
    const Bytes cut = Slice(stream, 0, size);
    const StreamSurvey survey = SurveyProgramStream(cut);
    EXPECT_LE(survey.pes_packets, whole.pes_packets) << size;
    EXPECT_EQ(survey.resyncs, 0u) << size;
  }
  for (std::size_t at = 0; at < stream.size(); ++at) {
    for (const std::uint8_t value : {0x00, 0x01, 0xBA, 0xFF}) {
      Bytes damaged = stream;
      damaged[at] = value;
      SurveyProgramStream(damaged);
    }
  }
}

TEST(StreamSurvey, ReadsPtsFromBothHeaderKinds) {
  constexpr std::uint64_t kPast32Bits = (std::uint64_t{1} << 32) + 12345;
  constexpr std::uint64_t kTop = (std::uint64_t{1} << 33) - 1;
  Bytes pts_and_dts = Packet({.payload = kMpegAudioFrame, .pts = kPast32Bits});
  pts_and_dts[7] = 0xC0;
  pts_and_dts[9] |= 0x10;  // 0011: a DTS follows
  const Bytes dts = TimeStamp(1, 0x10);
  pts_and_dts.insert(pts_and_dts.begin() + 14, dts.begin(), dts.end());
  pts_and_dts[8] = 10;
  SetLength(pts_and_dts);
  Bytes no_marker = Packet({.payload = kMpegAudioFrame, .pts = 5000});
  no_marker[11] &= 0xFE;
  Bytes header_too_short = Packet({.payload = kMpegAudioFrame, .pts = 5000});
  header_too_short[8] = 3;
  header_too_short.erase(header_too_short.begin() + 12, header_too_short.begin() + 14);
  SetLength(header_too_short);
  struct Case {
    const char* name;
    Bytes packet;
    std::optional<std::uint64_t> pts;
  };
  const Case cases[] = {
      {"zero", Packet({.payload = kMpegAudioFrame, .pts = 0}), 0},
      {"past 32 bits", Packet({.payload = kMpegAudioFrame, .pts = kPast32Bits}), kPast32Bits},
      {"all 33 bits", Packet({.payload = kMpegAudioFrame, .pts = kTop}), kTop},
      {"with a DTS", pts_and_dts, kPast32Bits},
      {"none", Packet({.payload = kMpegAudioFrame}), std::nullopt},
      {"a marker bit clear", no_marker, std::nullopt},
      {"flagged in a header too short for it", header_too_short, std::nullopt},
      {"MPEG-1", Mpeg1Packet(0xC0, TimeStamp(kPast32Bits), kMpegAudioFrame), kPast32Bits},
      {"MPEG-1 with a DTS",
       Mpeg1Packet(0xC0, Join({TimeStamp(777, 0x30), TimeStamp(700, 0x10)}), kMpegAudioFrame), 777},
      {"MPEG-1 after stuffing and buffer size",
       Mpeg1Packet(0xC0, Join({{0xFF, 0xFF, 0xFF, 0x60, 0x10}, TimeStamp(kTop)}), kMpegAudioFrame), kTop},
      {"MPEG-1 without", Mpeg1Packet(0xC0, {0xFF, 0x0F}, kMpegAudioFrame), std::nullopt},
  };
  for (const Case& c : cases) {
    const StreamSurvey survey = SurveyProgramStream(c.packet);
    ASSERT_EQ(Keys(survey), std::vector<int>{0xC0}) << c.name;
    EXPECT_EQ(survey.streams[0].first_pts, c.pts) << c.name;
    EXPECT_EQ(survey.streams[0].head, kMpegAudioFrame) << c.name;
  }
  // The builder shared with the scan tests: 21 00 03 00 05.
  const StreamSurvey shared = SurveyProgramStream(testing::PrivateStream1Packet(0x82, testing::Ac3Payload(1)));
  ASSERT_EQ(Keys(shared), std::vector<int>{0x82});
  EXPECT_EQ(shared.streams[0].first_pts, (1u << 15) + 2u);
}

TEST(StreamSurvey, TellsEachStreamFromItsFirstPacket) {
  const Bytes stream = Join({
      Mpeg2Pack(), Packet({.payload = kMpegAudioFrame}),
      Packet({.id = 0xBD, .payload = SubStream(0x89, Data(8), 0x0123), .pts = 4000}),
      Packet({.id = 0xBD, .payload = LpcmSubStream(0xA2, 0x31, Data(8)), .pts = 4100}),
      Mpeg2Pack(), Packet({.payload = kMpegAudioFrame, .pts = 5000}),
      Packet({.id = 0xBD, .payload = SubStream(0x89, Data(8), 0x0456), .pts = 3000}),
      Packet({.id = 0xBD, .payload = LpcmSubStream(0xA2, 0x11, Data(8)), .pts = 3100}),
      Packet({.id = 0xBD, .payload = SubStream(0x80, Data(8), 0)}),
      Packet({.id = 0xBD, .payload = {0x81, 0x01}, .pts = 1}),  // no room for a pointer
  });
  const StreamSurvey survey = SurveyProgramStream(stream);
  ASSERT_EQ(Keys(survey), (std::vector<int>{0x80, 0x81, 0x89, 0xA2, 0xC0}));
  const StreamSurveyEntry& mpeg = *Find(survey, 0xC0);
  EXPECT_EQ(mpeg.kind, StreamKind::MpegAudio);
  EXPECT_EQ(mpeg.packets, 2u);
  EXPECT_EQ(mpeg.first_pts, 5000u);  // the first packet has none
  EXPECT_EQ(mpeg.first_offset, Mpeg2Pack().size());
  EXPECT_EQ(mpeg.first_access_unit, std::nullopt);
  const StreamSurveyEntry& dts = *Find(survey, 0x89);
  EXPECT_EQ(dts.kind, StreamKind::Dts);
  EXPECT_EQ(dts.first_pts, 4000u);
  EXPECT_EQ(dts.first_access_unit, 0x0123);
  EXPECT_EQ(dts.lpcm_attribute, std::nullopt);
  const StreamSurveyEntry& lpcm = *Find(survey, 0xA2);
  EXPECT_EQ(lpcm.kind, StreamKind::Lpcm);
  EXPECT_EQ(lpcm.lpcm_attribute, 0x31);
  EXPECT_EQ(lpcm.head, Join({Data(8), Data(8)}));  // seven header bytes left out of each
  EXPECT_EQ(Find(survey, 0x80)->first_access_unit, 0);
  EXPECT_EQ(Find(survey, 0x80)->first_pts, std::nullopt);
  EXPECT_EQ(Find(survey, 0x81)->first_access_unit, std::nullopt);
  EXPECT_TRUE(Find(survey, 0x81)->head.empty());
}

TEST(StreamSurvey, IgnoresWhatIsNoAudioStream) {
  const Bytes stream = Join({
      Mpeg2Pack(),
      Packet({.id = 0xBD, .payload = SubStream(0x20, Data(8)), .pts = 1}),  // a sub-picture
      Packet({.id = 0xBD, .payload = SubStream(0xC0, Data(8)), .pts = 1}),  // no MPEG audio in private stream 1
      Packet({.id = 0xBD, .payload = SubStream(0x90, Data(8)), .pts = 1}),
      Mpeg1Packet(0xBD, {0x0F}, SubStream(0x80, Data(8))),                 // no sub-stream after an MPEG-1 header
      Packet({.id = 0xBE, .payload = Data(30)}),                            // padding
      Packet({.id = 0xC8, .payload = kMpegAudioFrame, .pts = 2}),
  });
  const Bytes before = stream;
  const StreamSurvey survey = SurveyProgramStream(stream);
  EXPECT_EQ(Keys(survey), std::vector<int>{0xC8});
  EXPECT_EQ(survey.pes_packets, 6u);
  EXPECT_EQ(stream, before);
}

TEST(StreamSurvey, HeadJoinsPacketsUpToItsCap) {
  const Bytes data = Data(6000, 7);
  Bytes stream;
  for (std::size_t at = 0; at < data.size(); at += 2000) {
    const Bytes piece = Slice(data, at, 2000);
    Append(stream, Join({Mpeg2Pack(), Packet({.id = 0xBD, .payload = SubStream(0x80, piece)})}));
    Append(stream, Packet({.id = 0xC0, .payload = piece}));
  }
  const StreamSurvey survey = SurveyProgramStream(stream);
  const Bytes expected = Slice(data, 0, kSurveyHeadBytes);
  ASSERT_EQ(Keys(survey), (std::vector<int>{0x80, 0xC0}));
  for (const StreamSurveyEntry& entry : survey.streams) {
    EXPECT_EQ(entry.packets, 3u);
    EXPECT_EQ(entry.head, expected) << entry.key;
  }
}

TEST(StreamSurvey, ScrambledPacketsCountButLeaveNoBytes) {
  const Bytes a = Data(16, 0x10), b = Data(16, 0x40), c = Data(16, 0x70);
  auto ac3 = [](const Bytes& data, std::uint8_t flags, std::uint64_t pts, std::uint16_t pointer) {
    return Packet({.id = 0xBD, .payload = SubStream(0x80, data, pointer), .pts = pts, .flags = flags});
  };
  struct Case {
    const char* name;
    Bytes stream;
    std::uint32_t scrambled;
    Bytes head;
  };
  const Case cases[] = {
      {"the first scrambled", Join({ac3(a, 0x91, 100, 9), ac3(b, 0x81, 200, 5), ac3(c, 0x81, 300, 5)}), 1,
       Join({b, c})},
      {"one in the middle", Join({ac3(a, 0x81, 100, 9), ac3(b, 0xB1, 200, 5), ac3(c, 0x81, 300, 5)}), 1, a},
      {"all", Join({ac3(a, 0xA1, 100, 9), ac3(b, 0xB1, 200, 5), ac3(c, 0x91, 300, 5)}), 3, {}},
  };
  for (const Case& k : cases) {
    const StreamSurvey survey = SurveyProgramStream(k.stream);
    ASSERT_EQ(Keys(survey), std::vector<int>{0x80}) << k.name;
    const StreamSurveyEntry& entry = survey.streams[0];
    EXPECT_EQ(entry.packets, 3u) << k.name;
    EXPECT_EQ(entry.scrambled, k.scrambled) << k.name;
    EXPECT_EQ(entry.first_pts, 100u) << k.name;        // headers are clear
    EXPECT_EQ(entry.first_access_unit, 9) << k.name;  // and so is the sub-stream header
    EXPECT_EQ(entry.head, k.head) << k.name;
  }
}

// 25 frames a second, closed GOP, I-picture with temporal_reference 2.
const Bytes kClosedGopStart = {0x00, 0x00, 0x01, 0xB3, 0x2D, 0x02, 0x40, 0x33, 0x00, 0x00, 0x01, 0xB8,
                               0x00, 0x08, 0x00, 0xC0, 0x00, 0x00, 0x01, 0x00, 0x00, 0x8F, 0xFF, 0xF8};
const Bytes kOpenGopStart = {0x00, 0x00, 0x01, 0xB3, 0x2D, 0x02, 0x40, 0x33, 0x00, 0x00, 0x01, 0xB8,
                             0x00, 0x08, 0x00, 0x80, 0x00, 0x00, 0x01, 0x00, 0x00, 0x8F, 0xFF, 0xF8};

TEST(StreamSurvey, VideoReferenceFromTheFirstVideoPacketWithAPts) {
  struct Case {
    const char* name;
    Bytes stream;
    std::optional<std::uint64_t> reference;
  };
  const Case cases[] = {
      {"closed GOP", Packet({.id = 0xE0, .payload = kClosedGopStart, .pts = 48003}), 48003 - 7200},
      {"open GOP", Packet({.id = 0xE0, .payload = kOpenGopStart, .pts = 48003}), 48003},
      {"the first without a PTS",
       Join({Packet({.id = 0xE0, .payload = Data(30)}), Packet({.id = 0xE2, .payload = kClosedGopStart, .pts = 9000})}),
       9000 - 7200},
      {"only the first with one", Join({Packet({.id = 0xE0, .payload = kOpenGopStart, .pts = 9000}),
                                       Packet({.id = 0xE0, .payload = kOpenGopStart, .pts = 100})}),
       9000},
      {"scrambled", Packet({.id = 0xE0, .payload = kClosedGopStart, .pts = 48003, .flags = 0x91}), 48003},
      {"MPEG-1", Mpeg1Packet(0xEF, TimeStamp(48003), kClosedGopStart), 48003 - 7200},
      {"none", Packet({.id = 0xE0, .payload = kClosedGopStart}), std::nullopt},
      {"no video", Packet({.payload = kMpegAudioFrame, .pts = 1}), std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(SurveyProgramStream(c.stream).video_first_pts, c.reference) << c.name;
}

#ifdef TONVIKA_FIXTURES
std::optional<Bytes> ReadFixture(const char* relative) {
  std::ifstream file(std::filesystem::path(TONVIKA_FIXTURES) / relative, std::ios::binary);
  if (!file) return std::nullopt;
  return Bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
#endif

// A title set cut from a disc image: six private stream 1 audio streams,
// 268 packs of 2048 bytes.
TEST(StreamSurvey, TitleSetFixture) {
#ifndef TONVIKA_FIXTURES
  GTEST_SKIP() << "built without TONVIKA_FIXTURES";
#else
  const std::optional<Bytes> vob = ReadFixture("mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB");
  ASSERT_TRUE(vob.has_value());
  ASSERT_EQ(vob->size(), 268u * 2048u);
  const Bytes before = *vob;

  const StreamSurvey survey = SurveyProgramStream(*vob);
  EXPECT_EQ(*vob, before);
  EXPECT_EQ(survey.packs, 268u);
  EXPECT_EQ(survey.resyncs, 0u);
  ASSERT_EQ(Keys(survey), (std::vector<int>{0x80, 0x83, 0x89, 0x8C, 0xA2, 0xA5}));
  // The video's first GOP is closed and starts with its I-picture
  // (temporal_reference 0): the reference is that packet's PTS.
  EXPECT_EQ(survey.video_first_pts, 48003u);
  struct Expected {
    int key;
    StreamKind kind;
    std::uint64_t first_pts;
  };
  const Expected expected[] = {
      {0x80, StreamKind::Ac3, 47523}, {0x83, StreamKind::Ac3, 47523},   {0x89, StreamKind::Dts, 48003},
      {0x8C, StreamKind::Dts, 48003}, {0xA2, StreamKind::Lpcm, 48003}, {0xA5, StreamKind::Lpcm, 48003},
  };
  for (const Expected& e : expected) {
    const StreamSurveyEntry& entry = *Find(survey, e.key);
    EXPECT_EQ(entry.kind, e.kind) << e.key;
    EXPECT_EQ(entry.first_pts, e.first_pts) << e.key;
    EXPECT_EQ(entry.scrambled, 0u) << e.key;
    EXPECT_EQ(entry.head.size(), kSurveyHeadBytes) << e.key;
    EXPECT_EQ(entry.first_offset % 2048, 14u) << e.key;  // right after its pack header
  }
  // The first access unit pointer leads to a sync word in the head (it
  // counts from the byte after the pointer, from 1).
  for (const int key : {0x80, 0x89}) {
    const StreamSurveyEntry& entry = *Find(survey, key);
    ASSERT_TRUE(entry.first_access_unit.has_value()) << key;
    ASSERT_GE(*entry.first_access_unit, 1);
    const std::size_t frame = *entry.first_access_unit - 1u;
    ASSERT_LT(frame, entry.head.size());
    EXPECT_EQ(entry.head[frame], key == 0x80 ? 0x0B : 0x7F) << key;
  }
  EXPECT_EQ(Find(survey, 0xA2)->lpcm_attribute, 0x01);  // 16 bits, 48 kHz, two channels
#endif
}

// The same cut of a 25 frames/s video, whose first picture is an I-picture
// with temporal_reference 2 at PTS 91800, with its first GOP open and closed.
TEST(StreamSurvey, FirstGopFixtures) {
#ifndef TONVIKA_FIXTURES
  GTEST_SKIP() << "built without TONVIKA_FIXTURES";
#else
  struct Case {
    const char* file;
    std::uint64_t reference;
  };
  const Case cases[] = {
      {"delay/closed_gop/open_gop.vob", 91800},
      {"delay/closed_gop/closed_gop.vob", 91800 - 7200},
  };
  for (const Case& c : cases) {
    const std::optional<Bytes> vob = ReadFixture(c.file);
    if (!vob) GTEST_SKIP() << c.file << " is missing";
    const StreamSurvey survey = SurveyProgramStream(*vob);
    EXPECT_EQ(survey.video_first_pts, c.reference) << c.file;
    ASSERT_EQ(Keys(survey), std::vector<int>{0x80}) << c.file;
    EXPECT_EQ(survey.streams[0].first_pts, 65400u) << c.file;
  }
#endif
}

}  // namespace
}  // namespace tonvika
