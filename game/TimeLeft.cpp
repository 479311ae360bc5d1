#include "TimeLeft.h"

#include "GameUtil.h"

TimeLeft::TimeLeft() {
  setType(TIME_LEFT_TYPE);
  setLocation(vx::TOP_RIGHT);
  setViewString("Time");
  setColor(vx::BLUE);
}
