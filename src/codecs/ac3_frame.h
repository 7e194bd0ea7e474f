#pragma once
// Analysis of the head of one AC-3 sync frame: decode, then describe.

#include <cstddef>
#include <cstdint>

#include "codecs/ac3_header.h"
#include "codecs/frame_description.h"

namespace tonvika {

// The detail lines (one per described field, through DescribeAc3Field) and
// the summary, such as "448kbps 48000Hz 5.1ch(3/2) L,C,R,SL,SR CM". For bsid
// above 8 both are empty.
FrameDescription DescribeAc3Header(const Ac3Header& header);

struct Ac3Analysis {
  Ac3Header header;
  FrameDescription description;
};

// `offset` is frame byte 4 (fscod/frmsizecod). Reads the fifteen bytes from
// there destructively (see TakeBits). The caller has checked the sync word.
Ac3Analysis AnalyseAc3Frame(std::uint8_t* buffer, std::size_t offset);

}  // namespace tonvika
