#include "GreedyFly.h"

#include "GameUtil.h"

namespace {
const int HITS_TO_KILL = 3;
}

GreedyFly::GreedyFly() : m_hits(0) { becomeVariant("greed", GREEDY_FLY_TYPE); }

int GreedyFly::eventHandler(const vx::Event *p_e) {
  if (!isClick(p_e))
    return Fly::eventHandler(p_e);
  takeHit(m_hits, HITS_TO_KILL);
  return 1;
}
