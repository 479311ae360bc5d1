#include "LoveFly.h"

#include "GameUtil.h"
#include "Particle.h"

LoveFly::LoveFly() { becomeVariant("Love", LOVE_FLY_TYPE); }

int LoveFly::eventHandler(const vx::Event *p_e) {
  if (!isClick(p_e))
    return Fly::eventHandler(p_e);
  scorePoint();
  return 1;
}

void LoveFly::scorePoint() {
  playSound("swat");
  award(1);
  playSound("splat");
  vx::addParticles(vx::SKYROCKETS, getPosition(), 2.0f, vx::MAGENTA);
  placeNearCenter();
  pickVelocity();
}
