#pragma once
// Publication of one track found by the scan into its slot.

#include <functional>
#include <string>

#include "analysis/ifo_audio.h"
#include "analysis/program_stream_scan.h"
#include "analysis/stream_mapping.h"
#include "codecs/frame_description.h"

namespace tonvika {

class TrackSlots;

class SlotPublisher final : public TrackPublisher {
 public:
  // `language_name` turns a language code into its display name; `published`
  // runs after each publication (the window lets pending events through).
  SlotPublisher(TrackSlots& slots, const LanguageCodes& codes, const SyncTraces& traces,
                std::function<std::string(const std::string&)> language_name,
                std::function<void(int slot, const PublishedTrack& track)> published);
  // The same with a language code per slot for each kind of track, as the
  // program chain may pair a kind's stream n with another entry than n.
  SlotPublisher(TrackSlots& slots, TrackLanguageCodes codes, const SyncTraces& traces,
                std::function<std::string(const std::string&)> language_name,
                std::function<void(int slot, const PublishedTrack& track)> published);

  bool IsSlotFree(int slot) const override;
  void PublishTrack(const TrackPublication& publication) override;

 private:
  // The kind text of the track, with its detail lines put on its page.
  std::string Describe(const TrackPublication& publication, TrackHeader& header);
  void ShowLines(int slot, const FrameDescription& description);
  std::string LanguagePart(TrackKind kind, int slot) const;

  TrackSlots& slots_;
  TrackLanguageCodes codes_;
  const SyncTraces& traces_;
  std::function<std::string(const std::string&)> language_name_;
  std::function<void(int, const PublishedTrack&)> published_;
};

}  // namespace tonvika
