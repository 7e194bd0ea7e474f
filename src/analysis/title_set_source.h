#pragma once
// One title set of a disc as a video-object run reads it: its title VOBs
// (VTS_nn_1.VOB, VTS_nn_2.VOB ...) as one stream, and its IFO (or BUP).

#include <string>

#include "analysis/video_object_source.h"
#include "io/dvd_reader.h"

namespace tonvika {

// The names the run shows for a title set's files.
struct TitleSetPaths {
  std::string vob;     // its first title VOB
  std::string ifo;     // VTS_nn_0.IFO
  std::string backup;  // VTS_nn_0.BUP
};

class TitleSetSource final : public VideoObjectSource {
 public:
  TitleSetSource(const DvdReader& disc, int title_set, TitleSetPaths paths)
      : disc_(disc), title_set_(title_set), paths_(std::move(paths)) {}

  // Throws FileError (the first title VOB's path) when the title set has no
  // title VOBs that can be opened.
  std::uint64_t Size() override;
  // The IFO, or its backup when the IFO cannot be read or is not a title
  // set's information file. Throws FileError when neither can be read.
  std::optional<InformationFile> ReadInformationFile() override;
  std::size_t ReadWindow(std::span<std::uint8_t> window) override;

 private:
  dvd_file_t& TitleVobs();

  const DvdReader& disc_;
  int title_set_;
  TitleSetPaths paths_;
  DvdFile vobs_;
};

}  // namespace tonvika
