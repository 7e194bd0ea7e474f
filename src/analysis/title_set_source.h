#pragma once
// One title of a disc as a video-object run reads it: its cells in playback
// order from the title set's title VOBs (VTS_nn_1.VOB, VTS_nn_2.VOB ... as
// one stream), and the title set's IFO (or BUP). Without cells to follow
// the title VOBs are read as they are stored.

#include <string>
#include <vector>

#include "analysis/video_object_source.h"
#include "dvd/title_cells.h"
#include "io/dvd_reader.h"

namespace tonvika {

// The names the run shows for a title set's files.
struct TitleSetPaths {
  std::string vob;     // its first title VOB
  std::string ifo;     // VTS_nn_0.IFO
  std::string backup;  // VTS_nn_0.BUP
};

// What is read of the title set.
struct TitleReading {
  std::vector<CellBlocks> cells;  // the title's, in playback order; empty: the VOBs as stored
  int title_chain = 1;            // the title's first program chain
  std::string as_stored_reason;   // with no cells: why there are none
};

class TitleSetSource final : public VideoObjectSource {
 public:
  TitleSetSource(const DvdReader& disc, int title_set, TitleSetPaths paths, TitleReading reading)
      : disc_(disc), title_set_(title_set), paths_(std::move(paths)), reading_(std::move(reading)) {}

  // Throws FileError (the first title VOB's path) when the title set has no
  // title VOBs that can be opened.
  std::uint64_t Size() override;
  // The IFO, or its backup when the IFO cannot be read or is not a title
  // set's information file. Throws FileError when neither can be read.
  std::optional<InformationFile> ReadInformationFile() override;
  std::size_t ReadWindow(std::span<std::uint8_t> window) override;
  std::optional<std::string> ReadingNote() const override;
  // Where an image ends before its VOBs do, or else that a read failed.
  std::optional<std::string> ShortReadCause() const override;
  std::unique_ptr<StreamReader> OpenStream() override;

 private:
  dvd_file_t& TitleVobs();

  const DvdReader& disc_;
  int title_set_;
  TitleSetPaths paths_;
  TitleReading reading_;
  DvdFile vobs_;
  bool short_read_ = false;  // the last window read stopped before its end
};

}  // namespace tonvika
