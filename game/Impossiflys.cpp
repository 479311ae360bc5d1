#include "Impossiflys.h"

#include "GameUtil.h"

// Small flies keep the plain fly's type name, so the rules count them as flies.
Impossiflys::Impossiflys() { becomeVariant("tiny", FLY_TYPE); }

int Impossiflys::eventHandler(const vx::Event *p_e) {
  if (!isClick(p_e))
    return Fly::eventHandler(p_e);
  perish(vx::GREEN, true);
  return 1;
}
