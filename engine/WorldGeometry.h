/// \file
/// Geometry of objects in the world and of the view onto it: an object's box
/// in world cells, the side two objects meet from, and conversions between
/// world and view positions.
#ifndef VX_WORLD_GEOMETRY_H
#define VX_WORLD_GEOMETRY_H

#include "Box.h"
#include "Object.h"
#include "Vector.h"

namespace vx {

/// The object's bounding box in world coordinates: its box moved by its
/// position, or by `where` as if the object stood there.
inline Box getWorldBox(const Object *p_o, Vector where) {
  const Box box = p_o->getBox();
  return Box(box.getCorner() + where, box.getHorizontal(), box.getVertical());
}
/// The object's box in world cells, at its position.
inline Box getWorldBox(const Object *p_o) { return getWorldBox(p_o, p_o->getPosition()); }

/// The side from which p_o1, moving with its velocity, meets p_o2: one of the
/// eight unit steps pointing from p_o2 towards p_o1, or (0,0) when the two do
/// not come into contact.
Vector getNormal(const Object *p_o1, const Object *p_o2);

/// A world position relative to the view's top-left corner.
Vector worldToView(const Vector &world_pos);

/// A position relative to the view's top-left corner, in world cells.
Vector viewToWorld(const Vector &view_pos);

} // namespace vx

#endif // VX_WORLD_GEOMETRY_H
