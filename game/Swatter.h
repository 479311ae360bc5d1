// The player's swatter: follows the mouse, and a click of any button passes
// the click on to every fly under the swatter's box.
#ifndef SWAT_SWATTER_H
#define SWAT_SWATTER_H

#include "Object.h"

class Swatter : public vx::Object {
 public:
  // A SPECTRAL swatter drawn over everything, under the pointer (in the
  // middle of the world when the pointer's place is not known).
  Swatter();

  // A click moves the swatter where the mouse is and swats there; a move
  // moves it there. 1 for
  // those, 0 for everything else (held buttons included).
  int eventHandler(const vx::Event *p_e) override;
};

#endif // SWAT_SWATTER_H
