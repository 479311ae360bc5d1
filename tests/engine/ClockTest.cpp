// The stopwatch the game loop paces itself with.
#include <gtest/gtest.h>

#include <thread>

#include "Clock.h"

TEST(Clock, SplitMeasuresWithoutRestartingAndDeltaRestarts) {
  vx::Clock clock;
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  int64_t first = clock.split();
  EXPECT_GE(first, 20000);
  EXPECT_GE(clock.split(), first); // Not restarted by split.

  int64_t delta = clock.delta();
  EXPECT_GE(delta, first);
  EXPECT_LT(clock.split(), 20000); // Restarted by delta.
}

TEST(Clock, StampsNeverGoBackwards) {
  int64_t previous = vx::Clock::now();
  for (int i = 0; i < 100000; i++) {
    int64_t now = vx::Clock::now();
    ASSERT_GE(now, previous);
    previous = now;
  }
}
