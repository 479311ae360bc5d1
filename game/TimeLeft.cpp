#include "TimeLeft.h"

#include <algorithm>

#include "GameManager.h"
#include "GameUtil.h"

TimeLeft::TimeLeft() {
  setType(TIME_LEFT_TYPE);
  setLocation(vx::TOP_RIGHT);
  setViewString("Time");
  setColor(vx::BLUE);
}

void TimeLeft::setValue(int new_value) {
  ViewObject::setValue(new_value);
  setColor(new_value <= WARNING_SECONDS ? vx::RED : vx::BLUE);
}

int TimeLeft::draw() {
  if (getValue() > WARNING_SECONDS)
    return ViewObject::draw();
  const int period = std::max(3, stepsPerSecond() / 2);
  const int phase = vx::GameManager::getInstance().getStepCount() % period;
  return phase < period * 2 / 3 ? ViewObject::draw() : 0;
}
