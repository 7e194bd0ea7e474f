#pragma once
// A whole disc (a DVD folder, image or drive): its titles and title sets,
// which title set holds the main feature, and each title as a video-object
// source.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/video_object_source.h"
#include "analysis/title_set_source.h"
#include "dvd/disc_titles.h"
#include "io/disc_source.h"
#include "io/dvd_reader.h"
#include "io/file_error.h"

namespace tonvika {

struct TitleSet {
  int number = 0;                        // 1 to 99
  std::optional<double> longest_title_s;  // its longest title, nothing when unknown
  bool main_feature = false;
  bool tables_readable = false;          // its IFO or BUP could be read
  TitleSetPaths paths;                   // as the run shows them
  std::optional<int> longest_title;      // the title it is analysed through; nothing when none plays from it
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
  // Whether the main feature was chosen by its length: false when no title
  // of the disc has a known length, and title set 1 stands in for it.
  bool MainFeatureByLength() const;
  const TitleSet* Find(int number) const;
  // The titles, numbered from 1 as the disc's title table lists them.
  const std::vector<DiscTitle>& Titles() const { return titles_; }
  const DiscTitle* FindTitle(int number) const;

  // Title `number` (which must exist) as a video-object source: its cells in
  // playback order, and its title set's IFO. A title whose cells cannot be
  // found is read as its title set's VOBs store it, with a note saying so.
  // Throws FileError, naming the title set's file, when its tables or its
  // VOBs cannot be read.
  std::unique_ptr<VideoObjectSource> OpenTitle(int number) const;
  // Title set `number` (which must exist) through its longest title; as its
  // VOBs store it, with a note, when no title plays from it.
  std::unique_ptr<VideoObjectSource> OpenTitleSet(int number) const;

 private:
  TitleSetPaths PathsOf(int number) const;
  // libdvdread takes the IFO when its header reads, else the backup, and
  // cannot read all of a damaged one's tables safely (dvd/ifo_tables.h):
  // such tables are not given to it.
  bool TablesFit(int title_set) const;
  IfoHandle OpenTables(int title_set) const;  // nothing when they cannot be read
  IfoHandle OpenManagerTables() const;
  void ReadTitleSets();
  std::unique_ptr<VideoObjectSource> OpenReading(int title_set, TitleReading reading) const;

  std::string source_;
  SourceKind kind_;
  std::string video_ts_;  // a folder's VIDEO_TS folder on disk; empty for images and drives
  std::unique_ptr<DvdReader> reader_;
  std::vector<IfoHandle> tables_;  // each title set's, nullptr when unreadable
  std::vector<std::optional<FileError>> table_errors_;  // why not, when one of their files is no regular file
  std::vector<TitleSet> title_sets_;
  std::vector<DiscTitle> titles_;
  int main_feature_ = 1;
};

// What the list report's first line names: the title set's first VOB and,
// when it is read through a title, "(title N)" after it.
std::string TitleLabel(const TitleSet& set, std::optional<int> title);


}  // namespace tonvika
