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
  std::string id;        // "0x80", "0xC0"
  std::string kind;      // "AC-3" ... "MPEG audio"
  std::string summary;   // the first frame in one line; "-" without one
  std::string language;  // the display name; "-" without a code
  std::string packets;
  std::string delay;     // "-5 ms"; "-" without video or PTS
  std::string slot;      // "Tr1", or "not listed"
};

StreamRow StreamRowOf(const AudioStream& stream, const std::function<std::string(const std::string&)>& language_name);

std::vector<StreamRow> StreamRows(const AnalysisReport& report,
                                  const std::function<std::string(const std::string&)>& language_name);

}  // namespace tonvika
