/// \file
/// Raised by the world when a move makes two objects collide.
#ifndef VX_EVENT_COLLISION_H
#define VX_EVENT_COLLISION_H

#include "Event.h"
#include "Vector.h"

namespace vx {

/// The type of EventCollision, "vx-collision".
const std::string COLLISION_EVENT = "vx-collision";

class Object;

/// Two solid objects overlapped because one moved. Both get it, without registering interest; a
/// move onto a HARD object by a HARD object is refused and reported with this event too.
class EventCollision : public Event {
 private:
  Vector m_pos;      // Where the collision happened: the position the mover tried to enter.
  Object *m_p_obj1;  // The object that moved (not owned).
  Object *m_p_obj2;  // The object it ran into (not owned).

 public:
  /// A collision of the mover p_o1 with p_o2 at the position p (world cells) the mover was
  /// going to. The event does not own the objects.
  EventCollision(Object *p_o1, Object *p_o2, Vector p);

  /// The object that moved. Valid during the handler only.
  Object *getObject1() const;
  /// The object it ran into. Valid during the handler only.
  Object *getObject2() const;
  /// Where the mover was going, in world cells.
  Vector getPosition() const;
};

} // namespace vx

#endif // VX_EVENT_COLLISION_H
