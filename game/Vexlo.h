// The odd one out of the ODD minigame: one swat takes it, without a splat.
#ifndef SWAT_VEXLO_H
#define SWAT_VEXLO_H

#include "Fly.h"

class Vexlo : public Fly {
 public:
  Vexlo();

  // A click takes it; steps move it. 1 when handled.
  int eventHandler(const vx::Event *p_e) override;
};

#endif // SWAT_VEXLO_H
