/// \file
/// Raised by the world when an object leaves the world boundary.
#ifndef VX_EVENT_OUT_H
#define VX_EVENT_OUT_H

#include "Event.h"

namespace vx {

/// The type of EventOut, "vx-out".
const std::string OUT_EVENT = "vx-out";

/// An object moved out of the world's boundary. Only that object gets it, without registering
/// interest.
class EventOut : public Event {
 public:
  /// An out-of-world event.
  EventOut();
};

} // namespace vx

#endif // VX_EVENT_OUT_H
