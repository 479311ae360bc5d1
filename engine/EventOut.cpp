#include "EventOut.h"

namespace vx {

EventOut::EventOut() : Event(OUT_EVENT) {}

} // namespace vx
