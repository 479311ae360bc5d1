#include "Clock.h"

#include <ctime>

namespace vx {

int64_t Clock::now() {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

Clock::Clock() : m_previous_time(now()) {}

int64_t Clock::delta() {
  int64_t current = now();
  int64_t elapsed = current - m_previous_time;
  m_previous_time = current;
  return elapsed;
}

int64_t Clock::split() const { return now() - m_previous_time; }

} // namespace vx
