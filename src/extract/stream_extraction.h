#pragma once
// Streams taken out of a whole program stream in one pass: each stream's
// packets in stream order, their payloads written by the stream's sink.
// Memory stays at a few megabytes however long the stream is.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/stream_reader.h"
#include "extract/byte_output.h"
#include "extract/stream_sink.h"
#include "mpeg/stream_kind.h"

namespace tonvika {

struct ExtractTarget {
  int key = 0;  // sub-stream number, or PES stream id for MPEG audio
  StreamKind kind = StreamKind::Ac3;
  ByteOutput* output = nullptr;
};

// Blocks of the source that could not be read and were passed over.
struct UnreadableRange {
  std::uint64_t bytes = 0;
  double at_s = 0;               // into the output
  std::optional<double> gap_s;   // the time the output lacks there, when a later PTS tells it
  bool at_end = false;           // nothing could be read after it: the output ends there
};

struct ExtractedStream {
  int key = 0;
  StreamKind kind = StreamKind::Ac3;
  bool met = false;       // a packet of it was met
  bool writable = true;   // false: LPCM whose word length or rate is reserved
  SinkCounts counts;
  std::optional<std::uint64_t> first_pts;  // of its first packet that carries one
  std::optional<std::int64_t> delay_ms;    // against the stream's video, as the analysis measures it
  std::vector<TimeJump> jumps;             // where the PTS jumps, unreadable ranges apart
  std::vector<UnreadableRange> unreadable;
  std::uint32_t missing_packets = 0;       // scrambled, or their headers unreadable
};

struct ExtractionRun {
  std::vector<ExtractedStream> streams;  // as the targets were given
  std::uint64_t bytes_read = 0;
  std::uint64_t bytes_skipped = 0;       // unreadable, passed over
  std::optional<std::string> skip_cause;
};

class ExtractionObserver {
 public:
  virtual ~ExtractionObserver() = default;
  virtual void Progress(std::uint64_t done, std::uint64_t total) {
    (void)done;
    (void)total;
  }
  // Asked between pieces; true stops the run with ExtractionCancelled.
  virtual bool Cancelled() { return false; }
};

struct ExtractionCancelled {};

// Reads `reader` to its end. Throws FileError from the reader or an
// output, ExtractionCancelled when the observer asks.
ExtractionRun ExtractStreams(StreamReader& reader, const std::vector<ExtractTarget>& targets,
                             ExtractionObserver& observer);

}  // namespace tonvika
