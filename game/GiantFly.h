// A giant fly that takes 20 swats.
#ifndef SWAT_GIANT_FLY_H
#define SWAT_GIANT_FLY_H

#include "Fly.h"

class GiantFly : public Fly {
 private:
  int m_hits; // Swats taken so far.

 public:
  GiantFly();

  // Every click is a hit; steps move it. 1 when handled.
  int eventHandler(const vx::Event *p_e) override;
};

#endif // SWAT_GIANT_FLY_H
