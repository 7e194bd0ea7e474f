#pragma once
// Recording AC-3 sync candidates in a slot's trace.

#include <cstddef>
#include <cstdint>

#include "mpeg/program_stream_scan.h"

namespace tonvika {

// Appends the entry "[%.6X %.2X %.2X %.2X]" for the candidate at `offset`
// whose frame bytes 4, 5 and 6 are `byte4` .. `byte6`, and remembers those
// bytes as the trace's last candidate.
void AppendSyncCandidate(SyncTrace& trace, std::size_t offset, std::uint8_t byte4,
                         std::uint8_t byte5, std::uint8_t byte6);

}  // namespace tonvika
