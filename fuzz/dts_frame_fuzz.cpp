// The DTS analysis over any eleven header bytes, and the values a script is given.
#include <algorithm>
#include <cstdint>

#include "codecs/dts_frame.h"
#include "codecs/header_values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tonvika::DtsHeaderBytes header{};
  if (size < header.size()) return 0;
  std::copy_n(data, header.size(), header.begin());
  const tonvika::DtsAnalysis analysis = tonvika::AnalyseDtsFrame(header);
  tonvika::ValuesOf(analysis.header);
  return 0;
}
