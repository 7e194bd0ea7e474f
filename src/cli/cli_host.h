#pragma once
// The run's view of the command-line tool: a fresh window state per file.

#include <array>
#include <string>

#include "view/window_run.h"
#include "view/track_slots.h"

namespace tonvika::cli {

class CliHost final : public RunHost {
 public:
  CliHost(std::string path, int read_size_mb, DisplayLanguage language,
          const LanguageTable& table, bool sync_trace);

  std::string FilePath() override { return path_; }
  int ReadSizeMegabytes() override { return read_size_mb_; }
  DisplayLanguage Language() override { return language_; }
  const LanguageTable& Languages() override { return table_; }
  TrackSlots& Slots() override { return slots_; }
  void SetStatus(int panel, const std::string& text) override;
  void SetCommandsEnabled(bool enabled) override { commands_enabled_ = enabled; }
  void ProcessPendingEvents() override {}
  bool WalkFrames() override { return walk_frames_; }
  void SetWalkFrames(bool walk) { walk_frames_ = walk; }

  const std::string& Status(int panel) const { return status_.at(panel); }
  bool CommandsEnabled() const { return commands_enabled_; }

 private:
  std::string path_;
  int read_size_mb_;
  DisplayLanguage language_;
  const LanguageTable& table_;
  TrackSlots slots_;
  std::array<std::string, 2> status_;
  bool commands_enabled_ = true;
  bool walk_frames_ = true;
};

}  // namespace tonvika::cli
