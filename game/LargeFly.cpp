#include "LargeFly.h"

#include "GameUtil.h"

namespace {
const int HITS_TO_KILL = 5;
}

// Large flies keep the plain fly's type name, so the rules count them as flies.
LargeFly::LargeFly() : m_hits(0) { becomeVariant("large", FLY_TYPE); }

int LargeFly::eventHandler(const vx::Event *p_e) {
  if (!isClick(p_e))
    return Fly::eventHandler(p_e);
  takeHit(m_hits, HITS_TO_KILL);
  return 1;
}
