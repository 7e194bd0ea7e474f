#include "cli/progress_line.h"

#include <algorithm>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace tonvika::cli {
namespace {

using std::chrono::milliseconds;

struct FakeClock {
  std::chrono::steady_clock::time_point now{};
  ProgressLine::Clock Get() {
    return [this] { return now; };
  }
};

// What a terminal shows on its last line after `output`.
std::string VisibleLine(const std::string& output) {
  std::string line;
  std::size_t column = 0;
  for (const char c : output) {
    if (c == '\r') {
      column = 0;
    } else if (c == '\n') {
      line.clear();
      column = 0;
    } else {
      if (column == line.size()) line.push_back(' ');
      line[column++] = c;
    }
  }
  line.erase(line.find_last_not_of(' ') + 1);
  return line;
}

TEST(ProgressLine, DrawsNoMoreThanFiveTimesASecondAndNotAtTheStart) {
  struct Step {
    int at_ms;
    long draws_so_far;
  };
  constexpr Step kSteps[] = {{0, 0}, {150, 0}, {200, 1}, {300, 1}, {399, 1}, {400, 2}, {1000, 3}, {1001, 3}};
  std::ostringstream err;
  FakeClock clock;
  ProgressLine line(err, true, clock.Get());
  for (const Step& step : kSteps) {
    clock.now = std::chrono::steady_clock::time_point(milliseconds(step.at_ms));
    line.Update(10, 100);
    const std::string output = err.str();
    EXPECT_EQ(std::count(output.begin(), output.end(), '\r'), step.draws_so_far) << step.at_ms << " ms";
  }
}

TEST(ProgressLine, ShowsPercentRateAndTimeLeft) {
  struct Case {
    int at_ms;
    std::uint64_t done;
    std::uint64_t total;
    const char* shown;
  };
  constexpr Case kCases[] = {
      {500, 1'000'000, 100'000'000, "  1%  --.- MB/s  --:-- left"},  // too early for a rate
      {2000, 50'000'000, 100'000'000, " 50%  25.0 MB/s  0:02 left"},
      {10'000, 1'000'000'000, 8'000'000'000, " 12% 100.0 MB/s  1:10 left"},
      {10'000, 1'000'000, 8'000'000'000, "  0%   0.1 MB/s  22:13:10 left"},
      {10'000, 1, 8'000'000'000'000, "  0%   0.0 MB/s  99:59:59 left"},
      {3000, 150, 100, "100%   0.0 MB/s  0:00 left"},
      {3000, 0, 0, "100%  --.- MB/s  --:-- left"},
  };
  for (const Case& c : kCases) {
    std::ostringstream err;
    FakeClock clock;
    ProgressLine line(err, true, clock.Get());
    clock.now += milliseconds(c.at_ms);
    line.Update(c.done, c.total);
    EXPECT_EQ(err.str(), std::string("\r") + c.shown);
  }
}

TEST(ProgressLine, ARedrawCoversALongerLineAndFinishClearsIt) {
  std::ostringstream err;
  FakeClock clock;
  ProgressLine line(err, true, clock.Get());
  clock.now += milliseconds(10'000);
  line.Update(1'000'000, 8'000'000'000);
  clock.now += milliseconds(10'000);
  line.Update(7'990'000'000, 8'000'000'000);
  EXPECT_EQ(VisibleLine(err.str()), " 99% 399.5 MB/s  0:01 left");

  line.Finish();
  EXPECT_EQ(VisibleLine(err.str()), "");
  EXPECT_EQ(err.str().back(), '\r');  // the cursor back at the start
  const std::string finished = err.str();
  line.Finish();
  EXPECT_EQ(err.str(), finished);
}

TEST(ProgressLine, NothingWhenNotShownOrNeverDrawn) {
  for (const bool shown : {false, true}) {
    std::ostringstream err;
    FakeClock clock;
    ProgressLine line(err, shown, clock.Get());
    if (!shown) {
      for (int step = 1; step <= 10; ++step) {
        clock.now += milliseconds(500);
        line.Update(step, 10);
      }
    }
    line.Finish();
    EXPECT_EQ(err.str(), "") << "shown " << shown;
  }
}

}  // namespace
}  // namespace tonvika::cli
