#include "cli/interrupt.h"

#include <csignal>

#include <gtest/gtest.h>

namespace tonvika::cli {
namespace {

void Before(int) {}

using Handler = void (*)(int);

Handler HandlerOf(int signal) {
  struct sigaction action {};
  sigaction(signal, nullptr, &action);
  return action.sa_handler;
}

TEST(InterruptGuard, ASignalIsNotedOnceAndTheOldDispositionsComeBack) {
  for (const int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    const Handler old_handler = std::signal(signal, Before);
    const Handler old_file_size = std::signal(SIGXFSZ, Before);
    {
      InterruptGuard guard;
      EXPECT_FALSE(Interrupted());
      EXPECT_EQ(HandlerOf(SIGXFSZ), SIG_IGN);
      std::raise(SIGXFSZ);  // would end the program if it were not ignored
      std::raise(signal);
      EXPECT_TRUE(Interrupted());
      EXPECT_EQ(InterruptSignal(), signal);
      EXPECT_EQ(HandlerOf(signal), SIG_DFL);  // a second one ends the program
    }
    EXPECT_EQ(HandlerOf(signal), Before);
    EXPECT_EQ(HandlerOf(SIGXFSZ), Before);
    std::signal(signal, old_handler);
    std::signal(SIGXFSZ, old_file_size);
  }
}

TEST(InterruptGuard, AnIgnoredSignalStaysIgnored) {
  const Handler old_handler = std::signal(SIGINT, SIG_IGN);
  {
    InterruptGuard guard;
    EXPECT_EQ(HandlerOf(SIGINT), SIG_IGN);
    std::raise(SIGINT);
    EXPECT_FALSE(Interrupted());
    EXPECT_EQ(InterruptSignal(), 0);
  }
  EXPECT_EQ(HandlerOf(SIGINT), SIG_IGN);
  std::signal(SIGINT, old_handler);
}

}  // namespace
}  // namespace tonvika::cli
