// The streak: minigames won in this run, at the top left. It changes only
// through view events tagged "Streak", and celebrates each change with
// skyrockets in a colour that climbs with the streak.
#ifndef SWAT_STREAK_H
#define SWAT_STREAK_H

#include "ViewObject.h"

class Streak : public vx::ViewObject {
 public:
  // Yellow, value 0. Keeps the plain view object's type name, so the end of a
  // run removes it with the other displays.
  Streak();

  // A view event for the streak changes its value, then its colour and fires
  // skyrockets (until the streak reaches 15). Otherwise the view object's
  // handling.
  int eventHandler(const vx::Event *p_e) override;
};

// The value of the streak display of the run, or 0 when there is none.
int currentStreak();

#endif // SWAT_STREAK_H
