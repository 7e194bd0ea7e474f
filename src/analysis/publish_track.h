#pragma once
// Publication of one track found by the scan into its slot.

#include <functional>
#include <string>

#include "analysis/ifo_audio.h"
#include "analysis/program_stream_scan.h"

namespace tonvika {

class TrackSlots;

class SlotPublisher final : public TrackPublisher {
 public:
  // `language_name` turns a language code into its display name; `published`
  // runs after each publication (the window lets pending events through).
  SlotPublisher(TrackSlots& slots, const LanguageCodes& codes, const SyncTraces& traces,
                std::function<std::string(const std::string&)> language_name,
                std::function<void(int slot, TrackKind kind)> published);

  bool IsSlotFree(int slot) const override;
  void PublishTrack(const TrackPublication& publication) override;

 private:
  std::string KindText(const TrackPublication& publication) const;
  std::string LanguagePart(int slot) const;

  TrackSlots& slots_;
  const LanguageCodes& codes_;
  const SyncTraces& traces_;
  std::function<std::string(const std::string&)> language_name_;
  std::function<void(int, TrackKind)> published_;
};

}  // namespace tonvika
