// The DTS analysis over any eleven header bytes.
#include <algorithm>
#include <cstdint>
#include <string>

#include "analysis/track_slots.h"
#include "codecs/dts_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tonvika::DtsHeaderBytes header{};
  if (size < header.size() + 1) return 0;
  std::copy_n(data + 1, header.size(), header.begin());
  tonvika::TrackSlots slots;
  std::string summary;
  tonvika::AnalyseDtsFrame(header, data[0] & 7, slots, summary);
  return 0;
}
