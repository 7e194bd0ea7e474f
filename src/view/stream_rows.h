#pragma once
// The stream table as text cells, one row per audio stream of the report:
// the command line's --streams table and the window's stream list show the
// same cells.

#include <functional>
#include <string>
#include <vector>

#include "analysis/report.h"

namespace tonvika {

struct StreamRow {
  std::string id;          // "0x80", "0xC0"; "-" for a raw file's stream
  std::string kind;        // "AC-3" ... "MPEG audio"
  std::string summary;     // the first frame in one line; "-" without one
  std::string language;    // the display name; "-" without a code
  std::string packets;
  std::string frames;      // whole frames walked; "-" where none were
  std::string duration;    // "2.016 s"; "-" where no frame was walked
  std::string crc_errors;  // "0", "10"; "-" where the frames carry no CRC
  std::string resyncs;     // "0"; "-" where no frame was walked
  std::string delay;       // "-5 ms"; "-" without video or PTS
  std::string slot;        // "Tr1", or "not listed"
  std::vector<std::string> changes;  // "frame 63 at 0:00:02.016: 3/2+LFE 448 kb/s"
};

StreamRow StreamRowOf(const AudioStream& stream, const std::function<std::string(const std::string&)>& language_name);

std::vector<StreamRow> StreamRows(const AnalysisReport& report,
                                  const std::function<std::string(const std::string&)>& language_name);

}  // namespace tonvika
