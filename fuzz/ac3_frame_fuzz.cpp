// The AC-3 analysis over any fifteen bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/track_slots.h"
#include "codecs/ac3_frame.h"
#include "codecs/take_bits.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < tonvika::kTakeBitsWindow + 1) return 0;
  const std::uint8_t slot = data[0] & 7;
  std::vector<std::uint8_t> window(data + 1, data + 1 + tonvika::kTakeBitsWindow);
  tonvika::TrackSlots slots;
  std::string summary;
  tonvika::AnalyseAc3Frame(window.data(), 0, slot, slots, summary);
  return 0;
}
