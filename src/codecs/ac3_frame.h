#pragma once
// Analysis of the head of one AC-3 sync frame (A/52 bit stream information).

#include <cstddef>
#include <cstdint>
#include <string>

namespace tonvika {

class TrackSlots;

// `offset` is frame byte 4 (fscod/frmsizecod). Reads the fifteen bytes from
// there destructively (see TakeBits), appends the detail lines to the page of
// `slot` and replaces `summary`. The caller has checked the sync word and
// cleared the page.
void AnalyseAc3Frame(std::uint8_t* buffer, std::size_t offset, std::uint8_t slot,
                     TrackSlots& slots, std::string& summary);

}  // namespace tonvika
