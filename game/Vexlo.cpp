#include "Vexlo.h"

#include "GameUtil.h"

Vexlo::Vexlo() { becomeVariant("VexLo", VEXLO_TYPE); }

int Vexlo::eventHandler(const vx::Event *p_e) {
  if (!isClick(p_e))
    return Fly::eventHandler(p_e);
  perish(vx::GREEN, false);
  return 1;
}
