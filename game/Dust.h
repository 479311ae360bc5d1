// The puff of dust a swat that hits nothing raises where the swatter came
// down, so the player sees the click was taken.
#ifndef SWAT_DUST_H
#define SWAT_DUST_H

#include "Vector.h"

// A few grey particles drifting out from the position for about half a second.
void puffDust(vx::Vector where);

#endif // SWAT_DUST_H
