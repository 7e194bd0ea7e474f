#pragma once
// The files an extraction reads its source from, which it never writes
// over whatever it is asked.

#include <string>
#include <vector>

#include "io/disc_source.h"

namespace tonvika {

// A file or image: itself. A folder: its regular files and those of its
// VIDEO_TS folder, where libdvdread may read from. A drive: the device.
std::vector<std::string> SourceFiles(const std::string& path, SourceKind kind);

}  // namespace tonvika
