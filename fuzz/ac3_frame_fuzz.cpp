// The AC-3 analysis over any fifteen bytes, and the values a script is given.
#include <cstdint>
#include <vector>

#include "codecs/ac3_frame.h"
#include "codecs/header_values.h"
#include "codecs/take_bits.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < tonvika::kTakeBitsWindow) return 0;
  std::vector<std::uint8_t> window(data, data + tonvika::kTakeBitsWindow);
  const tonvika::Ac3Analysis analysis = tonvika::AnalyseAc3Frame(window.data(), 0);
  tonvika::ValuesOf(analysis.header);
  return 0;
}
