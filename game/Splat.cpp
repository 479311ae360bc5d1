#include "Splat.h"

#include "GameUtil.h"

Splat::Splat() {
  setType(SPLAT_TYPE);
  if (setSprite("explosion") == 0)
    setSolidness(vx::SPECTRAL);
  setAltitude(1);
}
