#include "Event.h"

namespace vx {

Event::Event() : m_event_type(UNDEFINED_EVENT) {}

Event::Event(const std::string &type) : m_event_type(type) {}

Event::~Event() = default;

void Event::setType(std::string new_type) { m_event_type = new_type; }

} // namespace vx
