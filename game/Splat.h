// The stain a swatted fly leaves behind. It does nothing and stays until the
// end of its minigame.
#ifndef SWAT_SPLAT_H
#define SWAT_SPLAT_H

#include "Object.h"

class Splat : public vx::Object {
 public:
  // Drawn under the flies; SPECTRAL when its sprite was found.
  Splat();
};

#endif // SWAT_SPLAT_H
