#pragma once
// Analysis of one DTS core frame header: decode, then describe.

#include <string_view>

#include "codecs/dts_header.h"
#include "codecs/frame_description.h"

namespace tonvika {

// The detail lines (20 to 23, through DescribeDtsField) and the summary,
// such as " 768kbps 48000Hz L,C,R,SL,SR,LFE 24bit" (it begins with a blank).
FrameDescription DescribeDtsHeader(const DtsHeader& header);

// The layout text by AMODE ("L,C,R,SL,SR" ..., "User Defined" from 16 on).
std::string_view DtsLayoutText(unsigned amode);

struct DtsAnalysis {
  DtsHeader header;
  FrameDescription description;
};

DtsAnalysis AnalyseDtsFrame(const DtsHeaderBytes& bytes);

}  // namespace tonvika
