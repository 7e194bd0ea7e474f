#pragma once
// Finding the next private stream 1 start code (00 00 01 BD) in a buffer.

#include <cstddef>
#include <cstdint>

namespace tonvika {

// The first position p with from <= p < end at which buffer[p .. p+3] reads
// 00 00 01 BD, or `end` when there is none. The caller guarantees that
// buffer[0 .. end+2] exists.
std::size_t FindPrivateStreamStart(const std::uint8_t* buffer, std::size_t from, std::size_t end);

}  // namespace tonvika
