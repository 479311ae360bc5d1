// The coin of the COIN minigame: one swat takes it, without a splat.
#ifndef SWAT_COIN_H
#define SWAT_COIN_H

#include "Fly.h"

class Coin : public Fly {
 public:
  Coin();

  // A click takes it; steps move it. 1 when handled.
  int eventHandler(const vx::Event *p_e) override;
};

#endif // SWAT_COIN_H
