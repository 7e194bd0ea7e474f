#pragma once
// JSON of what the IFO declares and of the run's notes.

#include <nlohmann/json.hpp>
#include <vector>

#include "dvd/ifo_declared.h"
#include "analysis/stream_notes.h"

namespace tonvika::cli {

// One object per audio attribute entry the IFO counts; empty without an IFO.
nlohmann::ordered_json DeclaredToJson(const DeclaredAudio& declared);
// {"code", "stream_id" (number or null), "text"} per note.
nlohmann::ordered_json NotesToJson(const std::vector<RunNote>& notes);

}  // namespace tonvika::cli
