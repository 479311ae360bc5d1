#include "GiantFly.h"

#include "GameUtil.h"

namespace {
const int HITS_TO_KILL = 20;
}

// Giant flies keep the plain fly's type name, so the rules count them as flies.
GiantFly::GiantFly() : m_hits(0) { becomeVariant("giant", FLY_TYPE); }

int GiantFly::eventHandler(const vx::Event *p_e) {
  if (!isClick(p_e))
    return Fly::eventHandler(p_e);
  takeHit(m_hits, HITS_TO_KILL);
  return 1;
}
