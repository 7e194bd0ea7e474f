#include "cli/progress_line.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

namespace tonvika::cli {

namespace {

using std::chrono::steady_clock;

constexpr auto kRedrawEvery = std::chrono::milliseconds(200);
constexpr auto kRateAfter = std::chrono::seconds(1);
constexpr double kBytesPerMegabyte = 1e6;
constexpr double kMostSecondsShown = 100 * 3600 - 1;  // 99:59:59

// m:ss, or h:mm:ss from an hour on.
std::string TimeText(double seconds) {
  const auto whole = static_cast<long>(std::min(std::ceil(seconds), kMostSecondsShown));
  char text[32];
  if (whole >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  }
  return text;
}

std::string ProgressText(std::uint64_t done, std::uint64_t total, steady_clock::duration elapsed) {
  done = std::min(done, total);
  const auto percent =
      total == 0 ? 100u : static_cast<unsigned>(static_cast<double>(done) / static_cast<double>(total) * 100);
  std::string rate_text = "--.-";
  std::string left_text = "--:--";
  const double seconds = std::chrono::duration<double>(elapsed).count();
  if (elapsed >= kRateAfter && done > 0) {
    const double rate = static_cast<double>(done) / seconds;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", rate / kBytesPerMegabyte);
    rate_text = text;
    left_text = TimeText(static_cast<double>(total - done) / rate);
  }
  char line[96];
  std::snprintf(line, sizeof line, "%3u%% %5s MB/s  %s left", percent, rate_text.c_str(), left_text.c_str());
  return line;
}

}  // namespace

ProgressLine::ProgressLine(std::ostream& err, bool shown, Clock clock)
    : err_(err), shown_(shown), clock_(clock ? std::move(clock) : Clock(steady_clock::now)) {
  start_ = clock_();
  last_draw_ = start_;
}

void ProgressLine::Update(std::uint64_t done, std::uint64_t total) {
  if (!shown_) return;
  const auto now = clock_();
  if (now - last_draw_ < kRedrawEvery) return;
  last_draw_ = now;
  Draw(ProgressText(done, total, now - start_));
}

void ProgressLine::Finish() {
  if (drawn_width_ == 0) return;
  err_ << '\r' << std::string(drawn_width_, ' ') << '\r' << std::flush;
  drawn_width_ = 0;
}

void ProgressLine::Draw(const std::string& text) {
  // Spaces over what a longer line before left.
  const std::size_t padding = drawn_width_ > text.size() ? drawn_width_ - text.size() : 0;
  err_ << '\r' << text << std::string(padding, ' ') << std::flush;
  drawn_width_ = text.size();
}

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) != 0; }

}  // namespace tonvika::cli
