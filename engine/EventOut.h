/// \file
/// Raised by the world when an object leaves the world boundary.
#ifndef VX_EVENT_OUT_H
#define VX_EVENT_OUT_H

#include "Event.h"

namespace vx {

const std::string OUT_EVENT = "vx-out";

class EventOut : public Event {
 public:
  EventOut();
};

} // namespace vx

#endif // VX_EVENT_OUT_H
