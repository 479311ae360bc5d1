/// \file
/// Reports game-loop steps that overran their frame time without flooding the
/// log: at most one line a second, counting the late steps since the last line.
#ifndef VX_LATE_STEP_LOG_H
#define VX_LATE_STEP_LOG_H

#include <cstdint>

namespace vx {

/// Counts the steps that overran their frame time and writes "Can't keep up!" to the log at
/// most once a second with their count, so a slow machine does not flood the log.
class LateStepLog {
 private:
  int64_t m_last_line;  // Stamp of the last line written, microseconds.
  bool m_written;       // Whether a line has been written yet.
  int m_late_steps;     // Late steps since the last line (that one's included).

 public:
  /// The shortest time between two lines, microseconds.
  static const int64_t INTERVAL = 1000000;

  /// No late step counted yet.
  LateStepLog();

  /// Notes a late step that took `elapsed` microseconds against a frame time
  /// in milliseconds, at the stamp `now` (Clock::now() when not given).
  /// Writes the line when the last one is a second old or there was none.
  void lateStep(int frame_time, int64_t elapsed, int64_t now = -1);
};

} // namespace vx

#endif // VX_LATE_STEP_LOG_H
