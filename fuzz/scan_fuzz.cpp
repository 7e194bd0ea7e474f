// The scan over any window, with the real publication and analyses.
#include <cstdint>
#include <vector>

#include "analysis/publish_track.h"
#include "analysis/track_slots.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size copy, so a read past the window is caught.
  std::vector<std::uint8_t> buffer(data, data + size);
  tonvika::TrackSlots slots;
  slots.SetSyncTraceEnabled(size > 0 && (data[0] & 1));
  tonvika::LanguageCodes codes = {"ja", "none", "", "en", "x", "fr", "de", "it"};
  tonvika::SyncTraces traces;
  tonvika::SlotPublisher publisher(slots, codes, traces, [](const std::string& c) { return c; }, nullptr);
  tonvika::ScanProgramStream(buffer.data(), buffer.size(), traces, publisher);
  return 0;
}
