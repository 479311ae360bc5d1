#include "EventPath.h"

#include <utility>

namespace vx {

EventPath::EventPath() : EventPath(0, Path()) {}

EventPath::EventPath(int result, Path path)
    : Event(PATH_EVENT), m_result(result), m_path(std::move(path)) {}

void EventPath::setResult(int new_result) { m_result = new_result; }

int EventPath::getResult() const { return m_result; }

void EventPath::setPath(Path new_path) { m_path = std::move(new_path); }

Path EventPath::getPath() const { return m_path; }

} // namespace vx
