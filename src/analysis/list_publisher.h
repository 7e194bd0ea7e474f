#pragma once
// The list's side of the scan: each track the scan confirms for a free slot
// is described (its header decoded, its detail lines and summary written)
// and kept in the report.

#include <array>
#include <functional>

#include "analysis/report.h"
#include "analysis/stream_mapping.h"
#include "mpeg/program_stream_scan.h"

namespace tonvika {

class ListPublisher final : public TrackPublisher {
 public:
  // `codes`: the language code each kind's stream n takes (see
  // LanguageCodesByKind); `published` runs after each publication.
  ListPublisher(AnalysisReport& report, TrackLanguageCodes codes, const SyncTraces& traces,
                std::function<void(int slot)> published);

  bool IsSlotFree(int slot) const override;
  void PublishTrack(const TrackPublication& publication) override;

 private:
  AnalysisReport& report_;
  TrackLanguageCodes codes_;
  const SyncTraces& traces_;
  std::function<void(int)> published_;
};

// The track a publication describes. The AC-3 analysis reads the frame
// where it lies in the scanned buffer, rewriting it as it goes.
PublishedTrack DescribePublication(const TrackPublication& publication, const SyncTraces& traces);

}  // namespace tonvika
