#pragma once
// A second walk over the read window, beside the private stream 1 scan: it
// steps from pack to packet by their lengths, so bytes inside a payload
// that happen to read as a start code are never taken for a packet, and it
// tells every audio stream met, with its first PTS and the first bytes of
// its payload, and the video reference time. It reads the window only.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "mpeg/stream_kind.h"

namespace tonvika {

inline constexpr std::size_t kSurveyHeadBytes = 4096;

// One packet's share of a stream's payload: what a walk over the stream's
// frames reads, packet by packet.
struct PayloadPiece {
  std::size_t offset = 0;  // in the window, past the sub-stream header of private stream 1
  std::size_t length = 0;  // 0 where the payload is missing
  std::optional<std::uint64_t> pts;     // the packet's, for the first access unit that starts in it
  std::uint16_t first_access_unit = 0;  // private stream 1: counts from 1; 0: none starts here
  bool missing = false;                 // scrambled, or its header could not be read
};

struct StreamSurveyEntry {
  int key = 0;  // sub-stream number, or PES stream id for MPEG audio
  StreamKind kind = StreamKind::Ac3;
  std::uint32_t packets = 0;    // PES packets met, scrambled ones included
  std::uint32_t scrambled = 0;  // packets whose PES_scrambling_control is not 00
  std::optional<std::uint64_t> first_pts;  // 90 kHz ticks, of the first packet that carries one
  std::size_t first_offset = 0;            // window offset of the first packet's start code
  // AC-3, DTS, LPCM: the first packet's first access unit pointer (counts
  // from 1; 0: no access unit starts in the packet).
  std::optional<std::uint16_t> first_access_unit;
  // The payload from the first unscrambled packet on, packets joined, at
  // most kSurveyHeadBytes: for AC-3, DTS and LPCM what follows the
  // sub-stream header, for MPEG audio the whole PES payload. It ends before
  // the first packet whose bytes are missing (scrambled, or a header that
  // cannot be read), so it holds no hole.
  std::vector<std::uint8_t> head;
  // LPCM: the first packet's quantization, sampling frequency and channels
  // byte (the second attribute byte).
  std::optional<std::uint8_t> lpcm_attribute;
  // Every packet's payload, in window order (LPCM's too, for its frames and
  // measured rate).
  std::vector<PayloadPiece> pieces;
};

struct StreamSurvey {
  std::vector<StreamSurveyEntry> streams;        // by key
  std::optional<std::uint64_t> video_first_pts;  // see video_reference.h
  std::uint32_t packs = 0;        // pack headers read
  std::uint32_t pes_packets = 0;  // PES packets of any stream id (0xBC to 0xFF)
  std::uint32_t resyncs = 0;      // searches for a start code where one was due
  // Where the walk stopped: the window's end, or the start of the pack or
  // packet it cuts off (SurveyWholePackets: where the next window goes on).
  std::size_t walked = 0;
};

// Walks the window from offset 0 and stops at its end or inside the first
// pack or packet the window cuts off.
StreamSurvey SurveyProgramStream(std::span<const std::uint8_t> window);

// The same walk over one piece of a longer program stream read piece by
// piece: a packet the piece cuts off is left out entirely, and `walked`
// says where it begins, so that the next piece starts there. The entries
// have no head.
StreamSurvey SurveyWholePackets(std::span<const std::uint8_t> piece);

}  // namespace tonvika
