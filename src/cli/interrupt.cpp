#include "cli/interrupt.h"

#include <csignal>

namespace tonvika::cli {

namespace {

constexpr std::array<int, 3> kGuarded = {SIGINT, SIGTERM, SIGXFSZ};

volatile std::sig_atomic_t caught_signal = 0;

void Catch(int signal) { caught_signal = signal; }

struct sigaction ActionFor(int signal) {
  struct sigaction action {};
  sigemptyset(&action.sa_mask);
  if (signal == SIGXFSZ) {
    action.sa_handler = SIG_IGN;
    return action;
  }
  action.sa_handler = Catch;
  // No SA_RESTART: a blocking read returns EINTR and the run looks at the
  // flag. SA_RESETHAND: a second signal ends a run that does not.
  action.sa_flags = SA_RESETHAND;
  return action;
}

}  // namespace

InterruptGuard::InterruptGuard() {
  caught_signal = 0;
  for (std::size_t i = 0; i < kGuarded.size(); ++i) {
    sigaction(kGuarded[i], nullptr, &saved_[i]);
    if (saved_[i].sa_handler == SIG_IGN) continue;  // nohup, a background job
    const struct sigaction action = ActionFor(kGuarded[i]);
    sigaction(kGuarded[i], &action, nullptr);
  }
}

InterruptGuard::~InterruptGuard() {
  for (std::size_t i = 0; i < kGuarded.size(); ++i) sigaction(kGuarded[i], &saved_[i], nullptr);
}

bool Interrupted() { return caught_signal != 0; }

int InterruptSignal() { return caught_signal; }

}  // namespace tonvika::cli
