// The player's swatter: follows the mouse, and a click of any button passes
// the click on to every fly under the swatter's box.
#ifndef SWAT_SWATTER_H
#define SWAT_SWATTER_H

#include "Object.h"

class Swatter : public vx::Object {
 public:
  // A SPECTRAL swatter drawn over everything, in the middle of the world.
  Swatter();

  // A click swats where the mouse is; a move moves the swatter there. 1 for
  // those, 0 for everything else (held buttons included).
  int eventHandler(const vx::Event *p_e) override;
};

#endif // SWAT_SWATTER_H
