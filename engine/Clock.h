/// \file
/// A microsecond stopwatch over the system's monotonic clock.
#ifndef VX_CLOCK_H
#define VX_CLOCK_H

#include <cstdint>

namespace vx {

/// A stopwatch with microsecond resolution, on the system's monotonic clock: the game loop
/// times its steps with it.
class Clock {
 private:
  int64_t m_previous_time; // Stamp at construction or at the last delta(), microseconds.

 public:
  /// Starts the stopwatch.
  Clock();

  /// Microseconds since the previous stamp; restarts the stopwatch.
  int64_t delta();

  /// Microseconds since the previous stamp, without restarting.
  int64_t split() const;

  /// The current stamp: microseconds of the monotonic clock. It never jumps
  /// back, whatever happens to the calendar time.
  static int64_t now();
};

} // namespace vx

#endif // VX_CLOCK_H
