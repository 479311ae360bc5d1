// The time left in the running minigame, in whole seconds, at the top right.
// In the last seconds it turns red and blinks.
#ifndef SWAT_TIME_LEFT_H
#define SWAT_TIME_LEFT_H

#include "ViewObject.h"

class TimeLeft : public vx::ViewObject {
 public:
  // Seconds left from which the display warns.
  static const int WARNING_SECONDS = 3;

  TimeLeft();

  // Blue, or red from WARNING_SECONDS down.
  void setValue(int new_value) override;

  // While it warns, the display is off for a third of every half second.
  int draw() override;
};

#endif // SWAT_TIME_LEFT_H
