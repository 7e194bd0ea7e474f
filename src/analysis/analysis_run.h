#pragma once
// The analysis of one source from end to end: the information file, the read
// window, the walks over it, and the report they give.

#include <optional>
#include <string>

#include "analysis/report.h"
#include "analysis/video_object_source.h"

namespace tonvika {

// What a front end hears while a run goes on: progress and publication.
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  // The source holds bytes: the run begins (nothing has been read yet).
  virtual void RunStarting() {}
  // The information file was read; its path, empty when there is none.
  virtual void InformationFileRead(const std::string& ifo_path) { (void)ifo_path; }
  // A track took slot `slot` of the list; report.tracks[slot] holds it.
  virtual void TrackPublished(const AnalysisReport& report, int slot) {
    (void)report;
    (void)slot;
  }
};

// How much a run reads, and whether it walks every frame of each stream
// (frames, CRCs, header changes and their notes) or describes each stream
// by its first frame alone.
struct RunSettings {
  int read_size_mb = 5;  // 1 to 20
  bool walk_frames = true;
};

// The read window is settings.read_size_mb MiB of the program stream, at
// most the whole of it; `path` is the path the report names. A source of 0
// bytes gives an unchanged report. Throws FileError when the source or its
// information file cannot be read.
AnalysisReport AnalyseVideoObject(VideoObjectSource& source, const std::string& path, const RunSettings& settings,
                                  RunObserver& observer);

// A raw .ac3 or .dts file: its first sync word's frame is the single track,
// in slot 0; with settings.walk_frames its first read_size_mb MiB are walked
// frame by frame for its stream. Unchanged when the file is empty or holds
// no sync word. Throws FileError when it cannot be opened or is not a
// regular file.
AnalysisReport AnalyseElementaryFile(const std::string& path, TrackKind kind, const RunSettings& settings);

// The lower-cased extension of the last path component, dot included.
std::string FileExtension(const std::string& path);

// The kind of a raw elementary file by its extension (.ac3, .dts); nothing
// for a file taken as a video object.
std::optional<TrackKind> ElementaryKind(const std::string& path);

}  // namespace tonvika
