#include "GameStart.h"

#include "BestStreak.h"
#include "EventKeyboard.h"
#include "GameManager.h"
#include "GameUtil.h"
#include "LogManager.h"
#include "ResourceManager.h"
#include "ScoreLine.h"
#include "Streak.h"
#include "TransitionScreen.h"

GameStart::GameStart() {
  setType(GAME_START_TYPE);
  setSprite("gamestart");
  setLocation(vx::CENTER_CENTER);
  registerInterest(vx::KEYBOARD_EVENT);
  m_p_music = vx::ResourceManager::getInstance().getMusic("start music");
  playMusic(m_p_music);
  m_p_best = new ScoreLine(bestStreakText(loadBestStreak()), vx::WHITE);
}

int GameStart::eventHandler(const vx::Event *p_e) {
  if (p_e->getType() != vx::KEYBOARD_EVENT)
    return 0;
  const auto *p_keyboard = static_cast<const vx::EventKeyboard *>(p_e);
  if (p_keyboard->getKeyboardAction() != vx::KEY_PRESSED)
    return 1;
  switch (p_keyboard->getKey()) {
    case vx::Keyboard::P:
      vx::LogManager::getInstance().writeLog("Swat: run started.");
      pauseMusic(m_p_music);
      setActive(false);
      m_p_best->setVisible(false);
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
  m_p_best->setViewString(bestStreakText(loadBestStreak()));
  m_p_best->setVisible(true);
}
