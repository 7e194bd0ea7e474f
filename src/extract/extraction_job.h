#pragma once
// What the command line and the window both do to take streams out of a
// source: choose them from its report, name their files, write them in one
// pass over the source, and give each file its name only once it is whole.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/report.h"
#include "analysis/stream_reader.h"
#include "extract/extraction_name.h"
#include "extract/stream_extraction.h"

namespace tonvika {

// A stream of the report that can be taken out, and what its name says.
struct PlannedStream {
  NameParts name;  // delay_ms: the analysis window's, until the extraction measures it
};

// Every audio stream the report met that can be written (not MPEG audio
// extension streams, not LPCM with reserved codes), by stream id.
std::vector<PlannedStream> ExtractableStreams(const AnalysisReport& report, const std::string& base);
// "0x80, 0x81, 0xA0": the ids, for a message.
std::string StreamIdsText(const std::vector<PlannedStream>& streams);

struct ExtractionJob {
  std::vector<PlannedStream> streams;
  // One path per stream: its file; an empty path names the file by default
  // inside `folder`.
  std::vector<std::string> paths;
  std::string folder = ".";
  bool replace = false;
  // Files that are never written over, whatever `replace` says: the source's.
  std::vector<std::string> protected_files;
};

struct WrittenFile {
  std::string path;          // the file's name (written or not)
  ExtractedStream stream;
  std::uint64_t bytes = 0;   // the file's size
  std::optional<std::string> error;  // why it was not written; nothing when it was
};

struct ExtractionOutcome {
  std::vector<WrittenFile> files;  // as the job's streams
  std::uint64_t bytes_skipped = 0;
  std::optional<std::string> skip_cause;
};

// The path a stream's file gets: its given path, or its default name in
// the folder.
std::string PlannedPath(const ExtractionJob& job, std::size_t index);

// Runs the job over `reader`. Throws FileError when no file can be begun
// (an existing file without `replace`, a folder that cannot take it) or
// the source fails, ExtractionCancelled when the observer asks; nothing is
// left of an unfinished file either way.
ExtractionOutcome RunExtractionJob(const ExtractionJob& job, StreamReader& reader, ExtractionObserver& observer);

}  // namespace tonvika
