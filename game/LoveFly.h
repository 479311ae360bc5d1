// The love fly: it never dies, and every swat on it adds 1 to the streak and
// sends it back near the middle of the world.
#ifndef SWAT_LOVE_FLY_H
#define SWAT_LOVE_FLY_H

#include "Fly.h"

class LoveFly : public Fly {
 public:
  LoveFly();

  // A click scores; everything else is a plain fly's. 1 when handled.
  int eventHandler(const vx::Event *p_e) override;

  // A swat on the love fly: the "swat" sound, 1 more on the streak, the
  // "splat" sound, magenta skyrockets, and a new spot and direction.
  void scorePoint();
};

#endif // SWAT_LOVE_FLY_H
