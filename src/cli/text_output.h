#pragma once
// Plain-text output of one analysed file.

#include <string>
#include <string_view>

namespace tonvika {
class TrackSlots;
}

namespace tonvika::cli {

// The list report, then (when asked and there are details) the details text.
std::string FormatText(const std::string& path, const TrackSlots& slots, bool details,
                       std::string_view eol);

}  // namespace tonvika::cli
