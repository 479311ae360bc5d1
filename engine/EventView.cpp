#include "EventView.h"

#include <utility>

namespace vx {

EventView::EventView(std::string tag, int value, bool delta)
    : Event(VIEW_EVENT), m_tag(std::move(tag)), m_value(value), m_delta(delta) {}

std::string EventView::getTag() const { return m_tag; }

int EventView::getValue() const { return m_value; }

bool EventView::getDelta() const { return m_delta; }

} // namespace vx
