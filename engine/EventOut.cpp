#include "EventOut.h"

namespace vx {

EventOut::EventOut() { setType(OUT_EVENT); }

} // namespace vx
