// The whole run over any window: the survey by packet lengths, the list's
// scan with the real publication and analyses, the stream listing, the
// notes, and the window model shown from them.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "analysis/analysis_run.h"
#include "view/publish_track.h"
#include "view/track_slots.h"

namespace {

// The input as a video object without an information file. The run reads it
// into a window of exactly its size, so a read past the window is caught.
class MemorySource final : public tonvika::VideoObjectSource {
 public:
  MemorySource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint64_t Size() override { return size_; }
  std::optional<tonvika::InformationFile> ReadInformationFile() override { return std::nullopt; }
  std::size_t ReadWindow(std::span<std::uint8_t> window) override {
    const std::size_t n = std::min(window.size(), size_);
    std::copy_n(data_, n, window.begin());
    return n;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

class SlotsObserver final : public tonvika::RunObserver {
 public:
  explicit SlotsObserver(tonvika::TrackSlots& slots) : slots_(slots) {}
  void TrackPublished(const tonvika::AnalysisReport& report, int slot) override {
    const auto& track = report.tracks[static_cast<std::size_t>(slot)];
    tonvika::ShowPublishedTrack(slots_, slot, *track, tonvika::LanguagePart(report.language_codes[slot], nullptr));
  }

 private:
  tonvika::TrackSlots& slots_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tonvika::TrackSlots slots;
  slots.SetSyncTraceEnabled(size > 0 && (data[0] & 1));
  slots.AddEightRows();
  MemorySource source(data, size);
  SlotsObserver observer(slots);
  const tonvika::AnalysisReport report = tonvika::AnalyseVideoObject(source, "fuzz.vob", tonvika::RunSettings{20, true}, observer);
  for (const tonvika::AudioStream& stream : report.streams) {
    if (!stream.stream_id || !tonvika::KindOfAudioStream(*stream.stream_id)) __builtin_trap();
  }
  return 0;
}
