#pragma once
// What a frame analysis gives its caller: the detail lines, in the order the
// fields were read, and the one-line summary.

#include <string>
#include <vector>

namespace tonvika {

struct FrameDescription {
  std::vector<std::string> lines;
  std::string summary;
};

}  // namespace tonvika
