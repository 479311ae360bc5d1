// The time left in the running minigame, in whole seconds, at the top right.
#ifndef SWAT_TIME_LEFT_H
#define SWAT_TIME_LEFT_H

#include "ViewObject.h"

class TimeLeft : public vx::ViewObject {
 public:
  TimeLeft();
};

#endif // SWAT_TIME_LEFT_H
