// A greedy fly that takes 3 swats; each one still alive when its minigame's
// time runs out costs the streak a point.
#ifndef SWAT_GREEDY_FLY_H
#define SWAT_GREEDY_FLY_H

#include "Fly.h"

class GreedyFly : public Fly {
 private:
  int m_hits; // Swats taken so far.

 public:
  GreedyFly();

  // Every click is a hit; steps move it. 1 when handled.
  int eventHandler(const vx::Event *p_e) override;
};

#endif // SWAT_GREEDY_FLY_H
