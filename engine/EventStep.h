/// \file
/// Delivered once per game-loop iteration to every object interested in "vx-step".
#ifndef VX_EVENT_STEP_H
#define VX_EVENT_STEP_H

#include "Event.h"

namespace vx {

const std::string STEP_EVENT = "vx-step";

class EventStep : public Event {
 private:
  int m_step_count; // The game-loop iteration number.

 public:
  explicit EventStep(int init_step_count = 0);

  void setStepCount(int new_step_count);
  int getStepCount() const;
};

} // namespace vx

#endif // VX_EVENT_STEP_H
