#include "GameOver.h"

#include "EventStep.h"
#include "GameStart.h"
#include "GameUtil.h"
#include "Sprite.h"
#include "WorldManager.h"

GameOver::GameOver() : m_time_to_live(0) {
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
