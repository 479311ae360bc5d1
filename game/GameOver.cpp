#include "GameOver.h"

#include "BestStreak.h"
#include "EventStep.h"
#include "GameStart.h"
#include "GameUtil.h"
#include "LogManager.h"
#include "ScoreLine.h"
#include "Sprite.h"
#include "Streak.h"
#include "WorldManager.h"

GameOver::GameOver() : m_time_to_live(0), m_p_line(nullptr) {
  // Two plain flies under one click lose the run twice in one step: the
  // streak is recorded and shown once.
  if (firstObjectOfType(GAME_OVER_TYPE) == nullptr) {
    const int streak = currentStreak();
    int best = 0;
    const bool new_best = recordStreak(streak, best);
    vx::LogManager::getInstance().writeLog("Swat: game over, streak %d, best %d%s.", streak, best,
                                           new_best ? " (new best)" : "");
    m_p_line = new ScoreLine(runStreakText(streak, best, new_best), new_best ? vx::YELLOW
                                                                             : vx::WHITE);
  }
  setType(GAME_OVER_TYPE);
  if (setSprite("gameover") == 0) {
    const vx::Sprite *p_sprite = getAnimation().getSprite();
    m_time_to_live = p_sprite->getFrameCount() * p_sprite->getSlowdown();
  }
  setLocation(vx::CENTER_CENTER);
  registerInterest(vx::STEP_EVENT);
  playSound("game over");
}

GameOver::~GameOver() {
  vx::WorldManager &world = vx::WorldManager::getInstance();
  // At shut-down the world deletes every object, the start screen included,
  // and the run is not coming back: nothing to restore, no music to start.
  if (!world.isStarted())
    return;
  if (m_p_line != nullptr)
    world.markForDelete(m_p_line);
  for (vx::Object *p_o : objectsOfTypes({FLY_TYPE, "ViewObject", GAME_START_TYPE})) {
    if (p_o->getType() != GAME_START_TYPE)
      world.markForDelete(p_o);
    else if (auto *p_start = dynamic_cast<GameStart *>(p_o))
      p_start->comeBack();
  }
}

int GameOver::eventHandler(const vx::Event *p_e) {
  if (p_e->getType() != vx::STEP_EVENT)
    return 0;
  if (--m_time_to_live <= 0)
    vx::WorldManager::getInstance().markForDelete(this);
  return 1;
}

int GameOver::draw() { return Object::draw(); }

int GameOver::getTimeToLive() const { return m_time_to_live; }
