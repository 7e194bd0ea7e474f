#pragma once
// Which dropped files the window takes.

#include <string>

namespace tonvika {

// True when a dropped file is taken for analysis: ".vob", ".ac3" and ".dts"
// (any letter case) always, and so a folder, a DVD image or a drive; any
// other file only when `allow_any` is set (the check box "VOB以外も許可する").
bool IsDropAccepted(const std::string& path, bool allow_any);

}  // namespace tonvika
