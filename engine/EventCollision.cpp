#include "EventCollision.h"

namespace vx {

EventCollision::EventCollision(Object *p_o1, Object *p_o2, Vector p)
    : Event(COLLISION_EVENT), m_pos(p), m_p_obj1(p_o1), m_p_obj2(p_o2) {}

Object *EventCollision::getObject1() const { return m_p_obj1; }

Object *EventCollision::getObject2() const { return m_p_obj2; }

Vector EventCollision::getPosition() const { return m_pos; }

} // namespace vx
