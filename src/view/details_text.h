#pragma once
// The AC-3/DTS details text as the clipboard export builds it.

#include <string>
#include <string_view>

namespace tonvika {

class TrackSlots;

// The path line, then for each shown tab "----------", "Tr " and i, the kind text
// and the page's lines; every line ends in `eol`.
std::string BuildDetailsText(const std::string& path, const TrackSlots& slots,
                             std::string_view eol = "\r\n");

}  // namespace tonvika
