#include "Coin.h"

#include "GameUtil.h"

Coin::Coin() { becomeVariant("coin", COIN_TYPE); }

int Coin::eventHandler(const vx::Event *p_e) {
  if (!isClick(p_e))
    return Fly::eventHandler(p_e);
  perish(vx::GREEN, false);
  return 1;
}
