#include "extract/stream_extraction.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "analysis/stream_listing.h"
#include "codecs/lpcm.h"
#include "extract/elementary_sink.h"
#include "extract/lpcm_sink.h"
#include "io/dvd_reader.h"
#include "mpeg/stream_survey.h"

namespace tonvika {

namespace {

constexpr std::size_t kPieceBytes = std::size_t{1} << 16;
// Room for a packet cut off at a piece's end (at most 65,541 bytes).
constexpr std::size_t kCarryRoom = std::size_t{1} << 17;

// Page-aligned: the kernel copies page cache pages into it several times
// faster than into a buffer at another offset (measured on AMD EPYC).
class PieceBuffer {
 public:
  explicit PieceBuffer(std::size_t size)
      : data_(static_cast<std::uint8_t*>(::operator new(size, kAlignment))), size_(size) {}
  ~PieceBuffer() { ::operator delete(data_, kAlignment); }
  PieceBuffer(const PieceBuffer&) = delete;
  PieceBuffer& operator=(const PieceBuffer&) = delete;
  std::uint8_t* data() { return data_; }
  std::size_t size() const { return size_; }

 private:
  static constexpr std::align_val_t kAlignment{4096};
  std::uint8_t* data_;
  std::size_t size_;
};

// The sink of a stream of `kind` (LPCM: with its attribute byte); nothing
// for what cannot be written (an MPEG audio extension stream, LPCM with
// reserved codes).
std::unique_ptr<StreamSink> MakeSink(StreamKind kind, std::optional<std::uint8_t> lpcm_attribute, ByteOutput& output) {
  switch (kind) {
    case StreamKind::Ac3: return std::make_unique<ElementarySink>(FrameFormat::Ac3, output);
    case StreamKind::Dts: return std::make_unique<ElementarySink>(FrameFormat::Dts, output);
    case StreamKind::MpegAudio: return std::make_unique<ElementarySink>(FrameFormat::MpegAudio, output);
    case StreamKind::Lpcm: {
      if (!lpcm_attribute) return nullptr;
      const LpcmAttributes attributes = DecodeLpcmAttributes(*lpcm_attribute);
      if (!CanWriteLpcm(attributes)) return nullptr;
      return std::make_unique<LpcmSink>(attributes, output);
    }
    case StreamKind::MpegAudioExtension: return nullptr;
  }
  return nullptr;
}

struct Active {
  ExtractTarget target;
  ExtractedStream result;
  std::unique_ptr<StreamSink> sink;
  std::vector<std::size_t> jumps_at_gap;  // for each unreadable range: the jumps found before it
};

class Extraction {
 public:
  Extraction(StreamReader& reader, const std::vector<ExtractTarget>& targets, ExtractionObserver& observer)
      : reader_(reader), observer_(observer), buffer_(kPieceBytes + kCarryRoom) {
    for (const ExtractTarget& target : targets) {
      Active active;
      active.target = target;
      active.result.key = target.key;
      active.result.kind = target.kind;
      active_.push_back(std::move(active));
    }
  }

  ExtractionRun Run() {
    std::size_t carry = 0;
    const std::uint64_t total = reader_.Size();
    for (;;) {
      if (observer_.Cancelled()) throw ExtractionCancelled{};
      const std::size_t room = std::min(kPieceBytes, (buffer_.size() - carry) / kDvdBlockSize * kDvdBlockSize);
      const StreamPiece piece = reader_.Read(std::span<std::uint8_t>(buffer_.data() + carry, room));
      if (piece.skipped_before > 0) {
        // What was cut off before the range has no end: the bytes after it
        // begin the buffer.
        std::memmove(buffer_.data(), buffer_.data() + carry, piece.bytes);
        carry = 0;
        Unreadable(piece.skipped_before);
        read_since_skip_ = 0;
      }
      read_since_skip_ += piece.bytes;
      if (piece.bytes == 0 && piece.skipped_before == 0) break;
      run_.bytes_read += piece.bytes;
      const std::span<const std::uint8_t> bytes(buffer_.data(), carry + piece.bytes);
      const StreamSurvey survey = SurveyWholePackets(bytes);
      Take(survey, bytes);
      carry = bytes.size() - survey.walked;
      std::memmove(buffer_.data(), buffer_.data() + survey.walked, carry);
      observer_.Progress(run_.bytes_read + run_.bytes_skipped, total);
    }
    // A packet the stream's end cuts off gives what it holds.
    if (carry > 0) {
      const std::span<const std::uint8_t> bytes(buffer_.data(), carry);
      Take(SurveyProgramStream(bytes), bytes);
    }
    run_.skip_cause = reader_.SkipCause();
    return Finish();
  }

 private:
  void Unreadable(std::uint64_t bytes) {
    run_.bytes_skipped += bytes;
    for (Active& active : active_) {
      if (!active.sink) continue;
      active.sink->Gap();
      active.result.unreadable.push_back({bytes, active.sink->ElapsedTicks() / kTicksPerSecond, std::nullopt});
      active.jumps_at_gap.push_back(active.sink->Times().Jumps().size());
    }
  }

  void Take(const StreamSurvey& survey, std::span<const std::uint8_t> bytes) {
    if (!video_first_pts_ && survey.video_first_pts) video_first_pts_ = survey.video_first_pts;
    for (const StreamSurveyEntry& entry : survey.streams) {
      for (Active& active : active_) {
        if (active.target.key == entry.key) TakeEntry(active, entry, bytes);
      }
    }
  }

  static void TakeEntry(Active& active, const StreamSurveyEntry& entry, std::span<const std::uint8_t> bytes) {
    ExtractedStream& result = active.result;
    if (!result.met) {
      result.met = true;
      active.sink = MakeSink(active.target.kind, entry.lpcm_attribute, *active.target.output);
      result.writable = active.sink != nullptr;
    }
    for (const PayloadPiece& piece : entry.pieces) {
      if (!result.first_pts && piece.pts) result.first_pts = piece.pts;
      if (!active.sink) continue;
      if (piece.missing) {
        ++result.missing_packets;
        active.sink->Gap();
        continue;
      }
      PacketStamp stamp;
      stamp.pts = piece.pts;
      if (piece.first_access_unit > 0) stamp.first_unit = piece.first_access_unit - 1u;
      active.sink->Take(bytes.subspan(piece.offset, piece.length), stamp);
    }
  }

  ExtractionRun Finish() {
    for (Active& active : active_) {
      ExtractedStream& result = active.result;
      result.delay_ms = DelayMs(result.first_pts, video_first_pts_);
      if (!active.sink) {
        run_.streams.push_back(std::move(result));
        continue;
      }
      active.sink->Finish();
      result.counts = active.sink->Counts();
      if (!result.unreadable.empty() && read_since_skip_ == 0) result.unreadable.back().at_end = true;
      AssignJumps(active);
      run_.streams.push_back(std::move(result));
    }
    return std::move(run_);
  }

  // The first jump after an unreadable range is the time it took away.
  static void AssignJumps(Active& active) {
    const std::vector<TimeJump>& jumps = active.sink->Times().Jumps();
    std::vector<bool> taken(jumps.size(), false);
    for (std::size_t range = 0; range < active.result.unreadable.size(); ++range) {
      const std::size_t index = active.jumps_at_gap[range];
      if (index < jumps.size() && !taken[index]) {
        active.result.unreadable[range].gap_s = jumps[index].by_s;
        taken[index] = true;
      }
    }
    for (std::size_t index = 0; index < jumps.size(); ++index) {
      if (!taken[index]) active.result.jumps.push_back(jumps[index]);
    }
  }

  StreamReader& reader_;
  ExtractionObserver& observer_;
  PieceBuffer buffer_;
  std::vector<Active> active_;
  std::optional<std::uint64_t> video_first_pts_;
  std::uint64_t read_since_skip_ = 0;  // bytes read after the last unreadable range
  ExtractionRun run_;
};

}  // namespace

ExtractionRun ExtractStreams(StreamReader& reader, const std::vector<ExtractTarget>& targets,
                             ExtractionObserver& observer) {
  return Extraction(reader, targets, observer).Run();
}

}  // namespace tonvika
