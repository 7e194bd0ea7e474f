// The extraction's own logic: packets cut by the pieces a source is read
// in, unreadable blocks, bytes between frames, a stream that ends inside a
// frame. Byte identity with ffmpeg on the fixtures is compare_extracted.py's.
#include "extract/stream_extraction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

#include "codecs/audio_frame.h"
#include "extract/elementary_sink.h"

namespace tonvika {
namespace {

const std::string kFixtures = TONVIKA_FIXTURES;

std::vector<std::uint8_t> Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class MemoryOutput final : public ByteOutput {
 public:
  void Write(std::span<const std::uint8_t> bytes) override { data.insert(data.end(), bytes.begin(), bytes.end()); }
  void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
    ASSERT_LE(offset + bytes.size(), data.size());
    std::copy(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(offset));
  }
  std::vector<std::uint8_t> data;
};

// A program stream in memory, delivered `piece` bytes at a time, its blocks
// in `unreadable` passed over as a disc's would be.
class MemoryReader final : public StreamReader {
 public:
  MemoryReader(std::vector<std::uint8_t> bytes, std::size_t piece, std::set<std::size_t> unreadable = {})
      : bytes_(std::move(bytes)), piece_(piece), unreadable_(std::move(unreadable)) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  StreamPiece Read(std::span<std::uint8_t> out) override {
    StreamPiece piece;
    while (at_ < bytes_.size() && unreadable_.count(at_ / 2048) != 0) {
      piece.skipped_before += 2048;
      at_ += 2048;
    }
    std::size_t end = std::min({bytes_.size(), at_ + piece_, at_ + out.size()});
    for (std::size_t block = at_ / 2048; block * 2048 < end; ++block) {
      if (unreadable_.count(block) != 0) end = block * 2048;  // stop before the next bad block
    }
    std::memcpy(out.data(), bytes_.data() + at_, end - at_);
    piece.bytes = end - at_;
    at_ = end;
    return piece;
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t piece_;
  std::set<std::size_t> unreadable_;
  std::size_t at_ = 0;
};

struct Extracted {
  ExtractionRun run;
  std::vector<std::uint8_t> data;
};

Extracted Extract(MemoryReader& reader, int key, StreamKind kind) {
  MemoryOutput output;
  ExtractionObserver observer;
  Extracted extracted{ExtractStreams(reader, {{key, kind, &output}}, observer), {}};
  extracted.data = std::move(output.data);
  return extracted;
}

// Whole frames one after the other, to the last byte.
std::size_t WholeFrames(FrameFormat format, const std::vector<std::uint8_t>& data) {
  std::size_t at = 0;
  std::size_t frames = 0;
  while (at < data.size()) {
    const auto head = ReadFrameHead(format, std::span(data).subspan(at));
    if (!head || at + head->bytes > data.size()) return 0;
    at += head->bytes;
    ++frames;
  }
  return frames;
}

struct StreamCase {
  const char* vob;
  int key;
  StreamKind kind;
};
constexpr StreamCase kStreams[] = {
    {"/mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB", 0x80, StreamKind::Ac3},
    {"/mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB", 0x89, StreamKind::Dts},
    {"/mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB", 0xA5, StreamKind::Lpcm},
    {"/mpeg_audio/mp2_and_ac3/VIDEO_TS/VTS_01_1.VOB", 0xC0, StreamKind::MpegAudio},
};

// Packets cut at any byte by the pieces come out the same.
TEST(StreamExtraction, PiecesOfAnySizeGiveTheSameFile) {
  for (const StreamCase& c : kStreams) {
    const std::vector<std::uint8_t> vob = Bytes(kFixtures + c.vob);
    MemoryReader whole(vob, vob.size());
    const Extracted expected = Extract(whole, c.key, c.kind);
    ASSERT_GT(expected.data.size(), 1000u) << c.vob << c.key;
    for (const std::size_t piece : {std::size_t{997}, std::size_t{2048}, std::size_t{6000}}) {
      MemoryReader pieces(vob, piece);
      const Extracted got = Extract(pieces, c.key, c.kind);
      EXPECT_EQ(got.data, expected.data) << c.key << " in pieces of " << piece;
      EXPECT_EQ(got.run.bytes_read, vob.size());
    }
  }
}

// Blocks that cannot be read are passed over: the frames they cut are
// dropped, the file goes on with whole frames, and the range is reported
// where it falls in the output with the time it took away.
TEST(StreamExtraction, UnreadableBlocksLeaveAGapOfWholeFrames) {
  const std::vector<std::uint8_t> vob = Bytes(kFixtures + "/mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB");
  MemoryReader clean(vob, 1 << 20);
  const Extracted all = Extract(clean, 0x80, StreamKind::Ac3);
  MemoryReader damaged(vob, 1 << 20, {100, 101, 102, 103, 104, 105, 106, 107});
  const Extracted gap = Extract(damaged, 0x80, StreamKind::Ac3);
  const ExtractedStream& stream = gap.run.streams.at(0);
  EXPECT_EQ(gap.run.bytes_skipped, 8u * 2048);
  ASSERT_EQ(stream.unreadable.size(), 1u);
  EXPECT_EQ(stream.unreadable[0].bytes, 8u * 2048);
  EXPECT_GT(stream.unreadable[0].at_s, 0.0);
  EXPECT_LT(stream.unreadable[0].at_s, all.run.streams[0].counts.duration_s);
  ASSERT_TRUE(stream.unreadable[0].gap_s.has_value());
  const double lost = all.run.streams[0].counts.duration_s - stream.counts.duration_s;
  EXPECT_GT(lost, 0.0);
  EXPECT_NEAR(*stream.unreadable[0].gap_s, lost, 0.001) << "the PTS after the gap tells the time lost";
  EXPECT_TRUE(stream.jumps.empty()) << "the gap is the range's, not a jump of its own";
  EXPECT_EQ(WholeFrames(FrameFormat::Ac3, gap.data), stream.counts.frames);
  EXPECT_FALSE(stream.unreadable[0].at_end);
  // Nothing readable after the range (an image cut short): the output ends there.
  std::set<std::size_t> tail;
  for (std::size_t block = 150; block * 2048 < vob.size(); ++block) tail.insert(block);
  MemoryReader cut(vob, 1 << 20, tail);
  const Extracted end = Extract(cut, 0x80, StreamKind::Ac3);
  ASSERT_EQ(end.run.streams[0].unreadable.size(), 1u);
  EXPECT_TRUE(end.run.streams[0].unreadable[0].at_end);
  EXPECT_EQ(WholeFrames(FrameFormat::Ac3, end.data), end.run.streams[0].counts.frames);
}

// Packs that straddle blocks (a stream not aligned to them): a packet cut
// by the range is dropped whole, and what follows it is read from its start.
TEST(StreamExtraction, APacketCutByAnUnreadableRangeIsDroppedWhole) {
  std::vector<std::uint8_t> vob(1000, 0);
  const std::vector<std::uint8_t> aligned = Bytes(kFixtures + "/mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB");
  vob.insert(vob.end(), aligned.begin(), aligned.end());
  MemoryReader clean(vob, 1 << 20);
  const std::vector<std::uint8_t> all = Extract(clean, 0x80, StreamKind::Ac3).data;
  for (const std::size_t piece : {std::size_t{997}, std::size_t{1} << 20}) {
    MemoryReader damaged(vob, piece, {100, 101, 102});
    const Extracted gap = Extract(damaged, 0x80, StreamKind::Ac3);
    const ExtractedStream& stream = gap.run.streams.at(0);
    ASSERT_EQ(stream.unreadable.size(), 1u) << piece;
    EXPECT_EQ(stream.counts.resyncs, 0u) << piece;
    EXPECT_EQ(WholeFrames(FrameFormat::Ac3, gap.data), stream.counts.frames) << piece;
    EXPECT_GE(stream.counts.frames, 12u) << piece << ": of 15, those of three blocks lost";
    // The frames before the range and after it, as they are in the whole stream.
    const std::size_t kept = gap.data.size();
    std::size_t before = 0;
    while (before < kept && gap.data[before] == all[before]) ++before;
    before -= before % 1792;
    EXPECT_TRUE(std::equal(gap.data.begin() + static_cast<std::ptrdiff_t>(before), gap.data.end(),
                           all.end() - static_cast<std::ptrdiff_t>(kept - before)))
        << piece;
  }
}

TEST(StreamExtraction, ACancelStopsTheRun) {
  struct Cancelling final : ExtractionObserver {
    bool Cancelled() override { return true; }
  } observer;
  MemoryReader reader(Bytes(kFixtures + "/mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB"), 4096);
  MemoryOutput output;
  EXPECT_THROW(ExtractStreams(reader, {{0x80, StreamKind::Ac3, &output}}, observer), ExtractionCancelled);
}

// AC-3 frames of a raw fixture, with bytes that begin no frame before,
// between and after them, through the sink in packets of any length. (A
// first frame counts once the next one follows it.)
TEST(ElementarySink, KeepsWhatLiesBetweenFramesAndDropsWhatBeginsOrEndsNone) {
  const std::vector<std::uint8_t> raw = Bytes(kFixtures + "/raw/ac3_junk100_5.1_448k.ac3");
  const std::vector<std::uint8_t> frames(raw.begin() + 100, raw.begin() + 100 + 3 * 1792);
  const std::vector<std::uint8_t> junk = {0x0B, 0x77, 0x00, 0x12, 0x34};  // a sync word that begins no frame
  std::vector<std::uint8_t> stream(junk);
  stream.insert(stream.end(), frames.begin(), frames.begin() + 2 * 1792);
  stream.insert(stream.end(), junk.begin(), junk.end());
  stream.insert(stream.end(), frames.begin() + 2 * 1792, frames.end());
  stream.insert(stream.end(), frames.begin(), frames.begin() + 700);  // cut by the stream's end
  for (const std::size_t packet : {std::size_t{1}, std::size_t{100}, std::size_t{2025}, stream.size()}) {
    MemoryOutput output;
    ElementarySink sink(FrameFormat::Ac3, output);
    for (std::size_t at = 0; at < stream.size(); at += packet) {
      sink.Take(std::span(stream).subspan(at, std::min(packet, stream.size() - at)), {});
    }
    sink.Finish();
    std::vector<std::uint8_t> expected(frames.begin(), frames.begin() + 2 * 1792);
    expected.insert(expected.end(), junk.begin(), junk.end());
    expected.insert(expected.end(), frames.begin() + 2 * 1792, frames.end());
    EXPECT_EQ(output.data, expected) << "packets of " << packet;
    EXPECT_EQ(sink.Counts().frames, 3u);
    EXPECT_EQ(sink.Counts().resyncs, 1u);
  }
  // Packets missing inside a frame: that frame is dropped, the next kept.
  MemoryOutput output;
  ElementarySink sink(FrameFormat::Ac3, output);
  sink.Take(std::span(frames).first(2000), {});
  sink.Gap();
  sink.Take(std::span(frames).subspan(2 * 1792), {});
  sink.Finish();
  std::vector<std::uint8_t> expected(frames.begin(), frames.begin() + 1792);
  expected.insert(expected.end(), frames.begin() + 2 * 1792, frames.end());
  EXPECT_EQ(output.data, expected);
}

}  // namespace
}  // namespace tonvika
