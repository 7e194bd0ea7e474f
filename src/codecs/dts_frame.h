#pragma once
// Analysis of one DTS core frame header.

#include <array>
#include <cstdint>
#include <string>

namespace tonvika {

class TrackSlots;

// Frame bytes 4 to 14: the eleven bytes after the sync word 7F FE 80 01.
using DtsHeaderBytes = std::array<std::uint8_t, 11>;

// Clears the page of `slot`, appends the detail lines, replaces `summary`.
void AnalyseDtsFrame(const DtsHeaderBytes& header, std::uint8_t slot, TrackSlots& slots,
                     std::string& summary);

}  // namespace tonvika
