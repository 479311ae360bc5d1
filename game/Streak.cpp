#include "Streak.h"

#include "EventView.h"
#include "GameUtil.h"
#include "Particle.h"

namespace {

// How the display celebrates a streak of at least `from`.
struct Celebration {
  int from;
  vx::Color display_color;
  float scale;
  vx::Color rocket_color;
};

// Highest first; a streak of 15 or more changes nothing.
const Celebration CELEBRATIONS[] = {
    {10, vx::MAGENTA, 8.0f, vx::MAGENTA}, {7, vx::BLUE, 8.0f, vx::BLUE},
    {5, vx::CYAN, 8.0f, vx::CYAN},        {3, vx::RED, 6.0f, vx::GREEN},
};
const int NO_CELEBRATION_FROM = 15;

} // namespace

Streak::Streak() {
  setLocation(vx::TOP_LEFT);
  setViewString(STREAK_TAG);
  setColor(vx::YELLOW);
  setValue(0);
}

int Streak::eventHandler(const vx::Event *p_e) {
  const int handled = ViewObject::eventHandler(p_e);
  if (handled == 0 || p_e->getType() != vx::VIEW_EVENT)
    return handled;
  const int streak = getValue();
  if (streak >= NO_CELEBRATION_FROM)
    return 1;
  Celebration celebration = {0, vx::YELLOW, 4.0f, vx::YELLOW};
  for (const Celebration &c : CELEBRATIONS) {
    if (streak >= c.from) {
      celebration = c;
      break;
    }
  }
  setColor(celebration.display_color);
  vx::addParticles(vx::SKYROCKETS, getPosition(), celebration.scale, celebration.rocket_color);
  // The rockets fly behind the flies, the swatter and the score boxes.
  for (vx::Object *p_rocket : objectsOfTypes({FIREWORK_TYPE}))
    p_rocket->setAltitude(CELEBRATION_ALTITUDE);
  return 1;
}

int currentStreak() {
  for (vx::Object *p_o : objectsOfTypes({"ViewObject"}))
    if (auto *p_streak = dynamic_cast<Streak *>(p_o))
      return p_streak->getValue();
  return 0;
}
