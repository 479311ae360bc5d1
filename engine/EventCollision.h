/// \file
/// Raised by the world when a move makes two objects collide.
#ifndef VX_EVENT_COLLISION_H
#define VX_EVENT_COLLISION_H

#include "Event.h"
#include "Vector.h"

namespace vx {

const std::string COLLISION_EVENT = "vx-collision";

class Object;

class EventCollision : public Event {
 private:
  Vector m_pos;      // Where the collision happened: the position the mover tried to enter.
  Object *m_p_obj1;  // The object that moved (not owned).
  Object *m_p_obj2;  // The object it ran into (not owned).

 public:
  EventCollision(Object *p_o1, Object *p_o2, Vector p);

  Object *getObject1() const;
  Object *getObject2() const;
  Vector getPosition() const;
};

} // namespace vx

#endif // VX_EVENT_COLLISION_H
