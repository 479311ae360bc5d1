/// \file
/// Delivered once per game-loop iteration to every object interested in "vx-step".
#ifndef VX_EVENT_STEP_H
#define VX_EVENT_STEP_H

#include "Event.h"

namespace vx {

/// The type of EventStep, "vx-step".
const std::string STEP_EVENT = "vx-step";

/// Sent at the start of every step of the game loop to the active objects registered for
/// STEP_EVENT.
class EventStep : public Event {
 private:
  int m_step_count; // The game-loop iteration number.

 public:
  /// A step event for step init_step_count.
  explicit EventStep(int init_step_count = 0);

  /// Sets the step carried.
  void setStepCount(int new_step_count);
  /// The number of the step starting, counted from 0 when the game loop began.
  int getStepCount() const;
};

} // namespace vx

#endif // VX_EVENT_STEP_H
