// A large fly that takes 5 swats.
#ifndef SWAT_LARGE_FLY_H
#define SWAT_LARGE_FLY_H

#include "Fly.h"

class LargeFly : public Fly {
 private:
  int m_hits; // Swats taken so far.

 public:
  LargeFly();

  // Every click is a hit; steps move it. 1 when handled.
  int eventHandler(const vx::Event *p_e) override;
};

#endif // SWAT_LARGE_FLY_H
