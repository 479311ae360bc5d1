// A small fly: one swat kills it, leaving a splat and a green burst.
#ifndef SWAT_IMPOSSIFLYS_H
#define SWAT_IMPOSSIFLYS_H

#include "Fly.h"

class Impossiflys : public Fly {
 public:
  Impossiflys();

  // A click kills it; steps move it. 1 when handled.
  int eventHandler(const vx::Event *p_e) override;
};

#endif // SWAT_IMPOSSIFLYS_H
