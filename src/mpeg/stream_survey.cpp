#include "mpeg/stream_survey.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "mpeg/video_reference.h"

namespace tonvika {

namespace {

using Bytes = std::span<const std::uint8_t>;

// Start codes of the program stream: 00 00 01 and a stream id of 0xB9 or
// more (the values below belong to the video elementary stream).
constexpr std::size_t kStartCodeLength = 4;
constexpr std::size_t kStreamIdOffset = 3;
constexpr std::uint8_t kLowestSystemId = 0xB9;
constexpr std::uint8_t kEndCode = 0xB9;
constexpr std::uint8_t kPackStart = 0xBA;
constexpr std::uint8_t kFirstPesId = 0xBC;  // 0xBB, the system header, is no PES packet
constexpr std::uint8_t kPrivateStream1 = 0xBD;
constexpr std::uint8_t kFirstAudioId = 0xC0;
constexpr std::uint8_t kLastAudioId = 0xDF;
constexpr std::uint8_t kFirstVideoId = 0xE0;
constexpr std::uint8_t kLastVideoId = 0xEF;

// Pack headers: MPEG-2 marks its SCR with the bits 01, MPEG-1 with 0010.
constexpr std::size_t kPackMarkOffset = 4;
constexpr std::uint8_t kMpeg2PackMask = 0xC0;
constexpr std::uint8_t kMpeg2PackMark = 0x40;
constexpr std::uint8_t kMpeg1PackMask = 0xF0;
constexpr std::uint8_t kMpeg1PackMark = 0x20;
constexpr std::size_t kMpeg2PackLength = 14;  // + pack_stuffing_length
constexpr std::size_t kMpeg1PackLength = 12;
constexpr std::size_t kPackStuffingOffset = 13;
constexpr std::uint8_t kPackStuffingMask = 0x07;

// PES packets, offsets from the start code.
constexpr std::size_t kLengthOffset = 4;      // PES_packet_length, 16 bits
constexpr std::size_t kPacketHeadLength = 6;  // start code and length
constexpr std::size_t kFlagsOffset = 6;
constexpr std::size_t kPtsFlagsOffset = 7;
constexpr std::size_t kHeaderLengthOffset = 8;  // PES_header_data_length
constexpr std::size_t kMpeg2FixedHeader = 9;    // start code to PES_header_data_length
constexpr std::uint8_t kMarkerMask = 0xC0;
constexpr std::uint8_t kMpeg2Marker = 0x80;
constexpr std::uint8_t kScramblingMask = 0x30;
constexpr std::uint8_t kPtsFlag = 0x80;  // PTS_DTS_flags 10 or 11

// MPEG-1 packet headers: stuffing, an optional STD buffer field, then a PTS,
// a PTS and a DTS, or the byte 0F.
constexpr std::uint8_t kMpeg1Stuffing = 0xFF;
constexpr std::uint8_t kStdBufferMask = 0xC0;
constexpr std::uint8_t kStdBufferMark = 0x40;
constexpr std::size_t kStdBufferLength = 2;
constexpr std::uint8_t kTimeStampMask = 0xF0;
constexpr std::uint8_t kPtsMark = 0x20;
constexpr std::uint8_t kPtsDtsMark = 0x30;
constexpr std::uint8_t kNoTimeStamps = 0x0F;

constexpr std::size_t kPtsLength = 5;
constexpr std::size_t kPtsDtsLength = 10;

// Private stream 1 sub-stream headers: number, frame count, first access
// unit pointer; LPCM adds three attribute bytes.
constexpr std::size_t kAccessUnitOffset = 2;
constexpr std::size_t kLpcmAttributeOffset = 5;
constexpr std::size_t kSubStreamHeaderLength = 4;
constexpr std::size_t kLpcmSubStreamHeaderLength = 7;

constexpr std::size_t kStreamKeys = 256;

// A PTS: 3 + 15 + 15 bits, each group closed by a marker bit.
std::optional<std::uint64_t> ReadPts(const std::uint8_t* pts) {
  if ((pts[0] & pts[2] & pts[4] & 0x01) == 0) return std::nullopt;
  const std::uint64_t high = (pts[0] >> 1) & 0x07;
  const std::uint64_t middle = (std::uint64_t{pts[1]} << 7) | (pts[2] >> 1);
  const std::uint64_t low = (std::uint64_t{pts[3]} << 7) | (pts[4] >> 1);
  return (high << 30) | (middle << 15) | low;
}

struct PesHeader {
  bool readable = false;  // the whole header lies in the packet and in the window
  bool mpeg2 = false;
  bool scrambled = false;
  std::optional<std::uint64_t> pts;
  std::size_t payload_start = 0;
};

// `limit` is the end of the packet or of the window, whichever comes first.
PesHeader ReadMpeg2Header(Bytes window, std::size_t start, std::size_t limit) {
  PesHeader header;
  header.mpeg2 = true;
  header.scrambled = (window[start + kFlagsOffset] & kScramblingMask) != 0;
  if (start + kMpeg2FixedHeader > limit) return header;
  const std::size_t data_length = window[start + kHeaderLengthOffset];
  header.payload_start = start + kMpeg2FixedHeader + data_length;
  if (header.payload_start > limit) return header;
  header.readable = true;
  if ((window[start + kPtsFlagsOffset] & kPtsFlag) != 0 && data_length >= kPtsLength) {
    header.pts = ReadPts(window.data() + start + kMpeg2FixedHeader);
  }
  return header;
}

PesHeader ReadMpeg1Header(Bytes window, std::size_t start, std::size_t limit) {
  PesHeader header;
  std::size_t at = start + kFlagsOffset;
  while (at < limit && window[at] == kMpeg1Stuffing) ++at;
  if (at < limit && (window[at] & kStdBufferMask) == kStdBufferMark) at += kStdBufferLength;
  if (at >= limit) return header;
  const std::uint8_t mark = window[at] & kTimeStampMask;
  std::size_t time_stamps = 1;
  if (mark == kPtsMark) {
    time_stamps = kPtsLength;
  } else if (mark == kPtsDtsMark) {
    time_stamps = kPtsDtsLength;
  } else if (window[at] != kNoTimeStamps) {
    return header;
  }
  if (at + time_stamps > limit) return header;
  if (time_stamps > 1) header.pts = ReadPts(window.data() + at);
  header.readable = true;
  header.payload_start = at + time_stamps;
  return header;
}

PesHeader ReadPesHeader(Bytes window, std::size_t start, std::size_t limit) {
  if (start + kFlagsOffset >= limit) return {};
  if ((window[start + kFlagsOffset] & kMarkerMask) == kMpeg2Marker) return ReadMpeg2Header(window, start, limit);
  return ReadMpeg1Header(window, start, limit);
}

bool IsAudioId(std::uint8_t id) { return id >= kFirstAudioId && id <= kLastAudioId; }
bool IsVideoId(std::uint8_t id) { return id >= kFirstVideoId && id <= kLastVideoId; }

std::size_t SubStreamHeaderLength(StreamKind kind) {
  return kind == StreamKind::Lpcm ? kLpcmSubStreamHeaderLength : kSubStreamHeaderLength;
}

// The head is taken from the first unscrambled packet until the first
// packet whose bytes are missing.
enum class HeadState { NotStarted, Open, Closed };

struct Track {
  StreamSurveyEntry entry;
  HeadState head_state = HeadState::NotStarted;
};

class Survey {
 public:
  Survey(Bytes window, bool whole_packets) : window_(window), whole_packets_(whole_packets) {}

  StreamSurvey Run() {
    std::size_t position = IsStartCode(0) ? 0 : Resync(0);
    survey_.walked = window_.size();
    while (position < window_.size()) {
      const std::optional<std::size_t> next = Step(position);
      if (!next || *next > window_.size()) survey_.walked = position;
      if (!next || *next >= window_.size()) break;
      position = IsStartCode(*next) ? *next : Resync(*next);
    }
    return Finish();
  }

 private:
  bool IsStartCode(std::size_t at) const {
    return at + kStartCodeLength <= window_.size() && window_[at] == 0x00 && window_[at + 1] == 0x00 &&
           window_[at + 2] == 0x01 && window_[at + kStreamIdOffset] >= kLowestSystemId;
  }

  // The first start code at `from` or later, or the window's end. memchr
  // finds the 01 of each prefix; the bytes around it are checked only there.
  std::size_t FindStartCode(std::size_t from) const {
    const std::uint8_t* const data = window_.data();
    std::size_t at = from + kStreamIdOffset - 1;
    while (at + 1 < window_.size()) {
      const void* hit = std::memchr(data + at, 0x01, window_.size() - 1 - at);
      if (hit == nullptr) break;
      at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - data);
      if (data[at - 1] == 0x00 && data[at - 2] == 0x00 && data[at + 1] >= kLowestSystemId) return at - 2;
      ++at;
    }
    return window_.size();
  }

  // Fewer bytes than a start code before the end are the window cutting
  // one off, not damage.
  std::size_t Resync(std::size_t from) {
    if (from + kStartCodeLength > window_.size()) return window_.size();
    ++survey_.resyncs;
    return FindStartCode(from);
  }

  // Where the pack or packet at `start` ends; nothing when the window cuts
  // it before that can be told, or when its packet runs past the window.
  std::optional<std::size_t> Step(std::size_t start) {
    const std::uint8_t id = window_[start + kStreamIdOffset];
    if (id == kPackStart) return PackEnd(start);
    if (id == kEndCode) return start + kStartCodeLength;
    if (start + kPacketHeadLength > window_.size()) return std::nullopt;
    const std::size_t length = (std::size_t{window_[start + kLengthOffset]} << 8) | window_[start + kLengthOffset + 1];
    const std::size_t end = start + kPacketHeadLength + length;
    if (whole_packets_ && end > window_.size()) return std::nullopt;
    ExaminePacket(start, id, std::min(end, window_.size()));
    if (end > window_.size()) return std::nullopt;
    return end;
  }

  std::optional<std::size_t> PackEnd(std::size_t start) {
    const std::size_t mark_at = start + kPackMarkOffset;
    if (mark_at >= window_.size()) return std::nullopt;
    const std::uint8_t mark = window_[mark_at];
    if ((mark & kMpeg2PackMask) == kMpeg2PackMark) {
      const std::size_t stuffing_at = start + kPackStuffingOffset;
      if (stuffing_at >= window_.size()) return std::nullopt;
      ++survey_.packs;
      return start + kMpeg2PackLength + (window_[stuffing_at] & kPackStuffingMask);
    }
    if ((mark & kMpeg1PackMask) == kMpeg1PackMark) {
      ++survey_.packs;
      return start + kMpeg1PackLength;
    }
    // Neither kind: damage, and the walk looks for the next start code.
    return start + kStartCodeLength;
  }

  // `limit`: the packet's end or the window's, whichever comes first.
  void ExaminePacket(std::size_t start, std::uint8_t id, std::size_t limit) {
    if (id >= kFirstPesId) ++survey_.pes_packets;
    if (id == kPrivateStream1) {
      PrivateStream1Packet(start, limit);
    } else if (IsAudioId(id)) {
      MpegAudioPacket(start, id, limit);
    } else if (IsVideoId(id) && !survey_.video_first_pts) {
      VideoPacket(start, limit);
    }
  }

  void PrivateStream1Packet(std::size_t start, std::size_t limit) {
    const PesHeader header = ReadPesHeader(window_, start, limit);
    // Only an MPEG-2 PES header is followed by a sub-stream number.
    if (!header.readable || !header.mpeg2 || header.payload_start >= limit) return;
    const std::uint8_t sub_stream = window_[header.payload_start];
    const std::optional<StreamKind> kind = KindOfAudioStream(sub_stream);
    // The MPEG audio keys are PES stream ids, never sub-stream numbers.
    if (!kind || !IsSubStreamKind(*kind)) return;
    Track& track = TrackOf(sub_stream, *kind, start);
    const Bytes payload = window_.subspan(header.payload_start, limit - header.payload_start);
    // CSS leaves the first 128 bytes of a sector clear, so the sub-stream
    // header of a scrambled packet can be read as well.
    if (track.entry.packets == 0) ReadSubStreamHeader(track.entry, payload);
    Count(track.entry, header);
    const std::size_t skipped = std::min(SubStreamHeaderLength(*kind), payload.size());
    TakeHead(track, header.scrambled ? std::nullopt : std::optional<Bytes>(payload.subspan(skipped)));
    PayloadPiece piece = PieceOf(header, header.payload_start + skipped, limit);
    if (payload.size() >= kSubStreamHeaderLength) {
      piece.first_access_unit =
          static_cast<std::uint16_t>((payload[kAccessUnitOffset] << 8) | payload[kAccessUnitOffset + 1]);
    }
    track.entry.pieces.push_back(piece);
  }

  // The packet's payload from `from` to `limit`, or a missing piece.
  static PayloadPiece PieceOf(const PesHeader& header, std::size_t from, std::size_t limit) {
    PayloadPiece piece;
    piece.pts = header.pts;
    piece.missing = !header.readable || header.scrambled;
    if (!piece.missing) {
      piece.offset = from;
      piece.length = limit - from;
    }
    return piece;
  }

  static void ReadSubStreamHeader(StreamSurveyEntry& entry, Bytes payload) {
    if (payload.size() >= kSubStreamHeaderLength) {
      entry.first_access_unit =
          static_cast<std::uint16_t>((payload[kAccessUnitOffset] << 8) | payload[kAccessUnitOffset + 1]);
    }
    if (entry.kind == StreamKind::Lpcm && payload.size() > kLpcmAttributeOffset) {
      entry.lpcm_attribute = payload[kLpcmAttributeOffset];
    }
  }

  void MpegAudioPacket(std::size_t start, std::uint8_t id, std::size_t limit) {
    const std::optional<StreamKind> kind = KindOfAudioStream(id);
    if (!kind) return;
    const PesHeader header = ReadPesHeader(window_, start, limit);
    Track& track = TrackOf(id, *kind, start);
    Count(track.entry, header);
    const bool whole = header.readable && !header.scrambled;
    TakeHead(track, whole ? std::optional<Bytes>(window_.subspan(header.payload_start, limit - header.payload_start))
                          : std::nullopt);
    track.entry.pieces.push_back(PieceOf(header, header.payload_start, limit));
  }

  void VideoPacket(std::size_t start, std::size_t limit) {
    const PesHeader header = ReadPesHeader(window_, start, limit);
    if (!header.readable || !header.pts) return;
    // A scrambled payload tells nothing; the PTS then stands as it is.
    const Bytes payload =
        header.scrambled ? Bytes{} : window_.subspan(header.payload_start, limit - header.payload_start);
    survey_.video_first_pts = VideoReferencePts(*header.pts, payload);
  }

  Track& TrackOf(std::uint8_t key, StreamKind kind, std::size_t start) {
    std::uint16_t& slot = track_of_key_[key];
    if (slot == 0) {
      Track track;
      track.entry.key = key;
      track.entry.kind = kind;
      track.entry.first_offset = start;
      tracks_.push_back(std::move(track));
      slot = static_cast<std::uint16_t>(tracks_.size());
    }
    return tracks_[slot - 1];
  }

  static void Count(StreamSurveyEntry& entry, const PesHeader& header) {
    ++entry.packets;
    if (header.scrambled) ++entry.scrambled;
    if (!entry.first_pts && header.pts) entry.first_pts = header.pts;
  }

  // `bytes`: the packet's share of the head; nothing when it is missing.
  void TakeHead(Track& track, std::optional<Bytes> bytes) const {
    // A piece of a longer stream leaves the head to the first window's walk.
    if (whole_packets_ || track.head_state == HeadState::Closed) return;
    if (!bytes) {
      if (track.head_state == HeadState::Open) track.head_state = HeadState::Closed;
      return;
    }
    track.head_state = HeadState::Open;
    std::vector<std::uint8_t>& head = track.entry.head;
    const std::size_t taken = std::min(bytes->size(), kSurveyHeadBytes - head.size());
    head.insert(head.end(), bytes->begin(), bytes->begin() + static_cast<std::ptrdiff_t>(taken));
    if (head.size() == kSurveyHeadBytes) track.head_state = HeadState::Closed;
  }

  StreamSurvey Finish() {
    std::sort(tracks_.begin(), tracks_.end(),
              [](const Track& a, const Track& b) { return a.entry.key < b.entry.key; });
    survey_.streams.reserve(tracks_.size());
    for (Track& track : tracks_) survey_.streams.push_back(std::move(track.entry));
    return std::move(survey_);
  }

  Bytes window_;
  bool whole_packets_;
  StreamSurvey survey_;
  std::vector<Track> tracks_;
  std::array<std::uint16_t, kStreamKeys> track_of_key_{};  // index into tracks_ + 1; 0: none yet
};

}  // namespace

StreamSurvey SurveyProgramStream(Bytes window) { return Survey(window, false).Run(); }

StreamSurvey SurveyWholePackets(Bytes piece) { return Survey(piece, true).Run(); }

}  // namespace tonvika
