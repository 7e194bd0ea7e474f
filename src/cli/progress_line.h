#pragma once
// A progress line on standard error for long extractions, redrawn in place:
//  45%  38.2 MB/s  0:12 left
// MB is 10^6 bytes; the time left comes from the average rate since the
// start ("--:--" until a second has passed). Nothing is drawn in the first
// fifth of a second, so a short run shows nothing, and at most five times a
// second after that; Finish erases the line, leaving the cursor at the start
// of an empty line for whatever is written next.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

namespace tonvika::cli {

class ProgressLine {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // clock: steady_clock::now by default; tests inject one. The run's start is
  // when the line is made.
  ProgressLine(std::ostream& err, bool shown, Clock clock = {});

  void Update(std::uint64_t done, std::uint64_t total);

  // Clears the line if one was drawn; call it before writing a message.
  void Finish();

 private:
  void Draw(const std::string& text);

  std::ostream& err_;
  bool shown_;
  Clock clock_;
  std::chrono::steady_clock::time_point last_draw_;  // the start until the first draw
  std::chrono::steady_clock::time_point start_;
  std::size_t drawn_width_ = 0;  // 0: nothing on the line
};

// Whether the progress line is shown when neither --progress nor
// --no-progress is given: when standard error is a terminal.
bool StandardErrorIsTerminal();

}  // namespace tonvika::cli
