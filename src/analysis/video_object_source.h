#pragma once
// Where a video-object run takes its bytes from: the read window of the
// program stream, and the title set's information file. A single VOB file
// is one such source; a title set of a disc is another.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/stream_reader.h"
#include "dvd/ifo_bytes.h"

namespace tonvika {

// The title set's information file as the run reads it.
struct InformationFile {
  std::string path;                 // as status panel 1 shows it
  std::vector<std::uint8_t> bytes;  // the file from its start (at most kMaxInformationFileSize)
  int title_chain = 1;              // the analysed title's first program chain (1: the first of the table)
};


class VideoObjectSource {
 public:
  virtual ~VideoObjectSource() = default;
  // The bytes the program stream holds; 0 leaves the run with nothing to do.
  // Throws FileError when the source cannot be opened.
  virtual std::uint64_t Size() = 0;
  // The information file, or nothing when the source has none. Throws
  // FileError when there is one that cannot be read.
  virtual std::optional<InformationFile> ReadInformationFile() = 0;
  // Fills `window` with the program stream from its first byte; returns the
  // number of bytes delivered (fewer at the end, or when a read fails).
  // Never reads past the end.
  virtual std::size_t ReadWindow(std::span<std::uint8_t> window) = 0;
  // Why the last ReadWindow gave fewer bytes than the source holds up to the
  // window's end (a read failed, an image is cut short: "the image ends at
  // ...; VTS_02_1.VOB needs ..."); nothing when it gave all it has.
  virtual std::optional<std::string> ShortReadCause() const { return std::nullopt; }
  // Why the program stream is not the one the source names (a title read
  // as its VOBs store it, its program chain being unreadable); nothing
  // when it is.
  virtual std::optional<std::string> ReadingNote() const { return std::nullopt; }
  // The whole program stream, as ReadWindow reads its start; nothing where
  // the source cannot give it. Throws FileError when it cannot be opened.
  virtual std::unique_ptr<StreamReader> OpenStream() { return nullptr; }
};

}  // namespace tonvika
