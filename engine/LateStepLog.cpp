#include "LateStepLog.h"

#include "Clock.h"
#include "LogManager.h"

namespace vx {

LateStepLog::LateStepLog() : m_last_line(0), m_written(false), m_late_steps(0) {}

void LateStepLog::lateStep(int frame_time, int64_t elapsed, int64_t now) {
  if (now < 0)
    now = Clock::now();
  m_late_steps++;
  if (m_written && now - m_last_line < INTERVAL)
    return;
  LogManager::getInstance().writeLog(
      "GameManager::run(): Can't keep up! frame_time %d ms, split %d ms, %d late step(s) "
      "since the last report",
      frame_time, static_cast<int>(elapsed / 1000), m_late_steps);
  m_written = true;
  m_last_line = now;
  m_late_steps = 0;
}

} // namespace vx
