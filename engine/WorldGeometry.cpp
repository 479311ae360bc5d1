#include "WorldGeometry.h"

#include <cmath>

#include "LogManager.h"
#include "WorldManager.h"
#include "utility.h"

namespace vx {

namespace {

// The top-left corner of the world manager's view, in world cells.
Vector viewCorner() { return WorldManager::getInstance().getView().getCorner(); }

// A box moved by a vector.
Box moved(Box box, const Vector &by) {
  box.setCorner(box.getCorner() + by);
  return box;
}

} // namespace

Vector getNormal(const Object *p_o1, const Object *p_o2) {
  const Box b2 = getWorldBox(p_o2);

  // Halve in on the last position along the move where p_o1 does not touch
  // p_o2 yet. The step keeps its scaling from pass to pass.
  const Vector position = p_o1->getPosition();
  Vector free_position = position;
  Vector step = p_o1->getVelocity();
  float a = 0.5f;
  for (int pass = 1; pass <= 7; pass++) {
    step.scale(a);
    Vector candidate = position + step;
    float d = static_cast<float>(std::pow(0.5, pass));
    if (boxIntersectsBox(getWorldBox(p_o1, candidate), b2)) {
      a -= d;
    } else {
      free_position = candidate;
      a += d;
    }
  }
  const Box b1 = getWorldBox(p_o1, free_position);

  // Probe the eight neighbouring boxes of p_o2, sides before corners.
  const float h = b2.getHorizontal(), v = b2.getVertical();
  static const float PROBES[8][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0},
                                     {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
  for (const auto &probe : PROBES) {
    Box probe_box = moved(b2, Vector(probe[0] * h, probe[1] * v));
    if (boxIntersectsBox(b1, probe_box))
      return Vector(probe[0], probe[1]);
  }
  LogManager::getInstance().writeLog(1, "getNormal(): No collision detected. Returning (0,0).");
  return Vector(0, 0);
}

Vector worldToView(const Vector &world_pos) { return world_pos - viewCorner(); }

Vector viewToWorld(const Vector &view_pos) { return view_pos + viewCorner(); }

} // namespace vx
