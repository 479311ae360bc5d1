#include "GameStart.h"

#include "EventKeyboard.h"
#include "GameManager.h"
#include "GameUtil.h"
#include "ResourceManager.h"
#include "Streak.h"
#include "TransitionScreen.h"

GameStart::GameStart() {
  setType(GAME_START_TYPE);
  setSprite("gamestart");
  setLocation(vx::CENTER_CENTER);
  registerInterest(vx::KEYBOARD_EVENT);
  m_p_music = vx::ResourceManager::getInstance().getMusic("start music");
  playMusic(m_p_music);
}

int GameStart::eventHandler(const vx::Event *p_e) {
  if (p_e->getType() != vx::KEYBOARD_EVENT)
    return 0;
  // Any action of the key counts; once the screen is inactive no more
  // keyboard events reach it, so holding P starts one run only.
  switch (static_cast<const vx::EventKeyboard *>(p_e)->getKey()) {
    case vx::Keyboard::P:
      pauseMusic(m_p_music);
      setActive(false);
      new Streak;
      new TransitionScreen;
      break;
    case vx::Keyboard::Q:
      vx::GameManager::getInstance().setGameOver(true);
      break;
    default:
      break;
  }
  return 1;
}

int GameStart::draw() { return Object::draw(); }

void GameStart::comeBack() {
  setActive(true);
  playMusic(m_p_music);
}
