#pragma once
// Ctrl-C and kill during an extraction: the program is told instead of ended,
// so that it can remove its unfinished file and exit with 128 + the signal.

#include <signal.h>

#include <array>

namespace tonvika::cli {

// While alive: SIGINT and SIGTERM set a flag instead of ending the program
// (once each: the next one ends it, so a stuck run can still be stopped), and
// SIGXFSZ is ignored (a write past `ulimit -f` then fails with EFBIG instead
// of ending the program). A signal ignored when the guard is made (a
// background job's SIGINT) stays ignored. Restores the previous dispositions
// when destroyed.
class InterruptGuard {
 public:
  InterruptGuard();
  ~InterruptGuard();
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

 private:
  std::array<struct sigaction, 3> saved_{};  // SIGINT, SIGTERM, SIGXFSZ as they were
};

// SIGINT or SIGTERM came while a guard was alive.
bool Interrupted();

// Which one (for the 128 + N exit status); 0 when none.
int InterruptSignal();

}  // namespace tonvika::cli
