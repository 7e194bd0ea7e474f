#pragma once
// A whole disc (a DVD folder, image or drive): its title sets, which of them
// holds the main feature, and each title set as a video-object source.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/video_object_source.h"
#include "analysis/title_set_source.h"
#include "io/disc_source.h"
#include "io/dvd_reader.h"

namespace tonvika {

struct TitleSet {
  int number = 0;                        // 1 to 99
  std::optional<double> longest_title_s;  // its longest title, nothing when unknown
  bool main_feature = false;
  bool tables_readable = false;          // its IFO or BUP could be read
  TitleSetPaths paths;                   // as the run shows them
};

class Disc {
 public:
  // Opens `source` (SourceKind Folder, Image or Drive) and reads its title
  // tables. Throws FileError for the source when it holds no DVD-Video file
  // system or its VIDEO_TS.IFO (and VIDEO_TS.BUP) cannot be read.
  Disc(const std::string& source, SourceKind kind);

  const std::string& Source() const { return source_; }
  const std::vector<TitleSet>& TitleSets() const { return title_sets_; }
  int MainFeature() const { return main_feature_; }
  const TitleSet* Find(int number) const;

  // Title set `number` (which must exist) as a video-object source: its
  // title VOBs as one stream, and its IFO. Throws FileError, naming the
  // title set's file, when its tables or its VOBs cannot be read.
  std::unique_ptr<VideoObjectSource> OpenTitleSet(int number) const;

 private:
  TitleSetPaths PathsOf(int number) const;
  void ReadTitleSets();

  std::string source_;
  SourceKind kind_;
  std::string video_ts_;  // a folder's VIDEO_TS folder on disk; empty for images and drives
  std::unique_ptr<DvdReader> reader_;
  std::vector<TitleSet> title_sets_;
  int main_feature_ = 1;
};

// "VTS_nn_k.EXT" for title set nn (two digits).
std::string TitleSetFileName(int number, int part, const char* extension);

}  // namespace tonvika
