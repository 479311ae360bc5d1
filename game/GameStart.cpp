#include "GameStart.h"

#include "EventKeyboard.h"
#include "GameManager.h"
#include "GameUtil.h"
#include "ResourceManager.h"
#include "Streak.h"
#include "TransitionScreen.h"

void loadResources() {
  vx::ResourceManager &rm = vx::ResourceManager::getInstance();
  rm.loadSprite("sprites/plarn-spr.txt", "fly");
  rm.loadSprite("sprites/loveFly.txt", "Love");
  rm.loadSprite("sprites/Impossifly.txt", "tiny");
  rm.loadSprite("sprites/LargeFly.txt", "large");
  rm.loadSprite("sprites/GiantFly.txt", "giant");
  rm.loadSprite("sprites/GreedyFly.txt", "greed");
  rm.loadSprite("sprites/bullet-spr.txt", "bullet");
  rm.loadSprite("sprites/explosion-spr.txt", "explosion");
  rm.loadSprite("sprites/gamestart-spr.txt", "gamestart");
  rm.loadSprite("sprites/FrozenPlarn.txt", "intermission");
  rm.loadSprite("sprites/gameover-spr.txt", "gameover");
  rm.loadSprite("sprites/FrozenPlarn.txt", "fplarn");
  rm.loadSprite("sprites/coin-spr.txt", "coin");
  rm.loadSprite("sprites/coin-spr - Copy.txt", "VexLo");
  rm.loadSound("sounds/fire.wav", "fire");
  rm.loadSound("sounds/Splat_music.wav", "splat");
  rm.loadSound("sounds/swat.wav", "swat");
  rm.loadSound("sounds/nuke.wav", "nuke");
  rm.loadSound("sounds/game-over.wav", "game over");
  rm.loadSound("sounds/singleflybuzz.wav", "singlebuzz");
  rm.loadSound("sounds/pointup.wav", "point");
  rm.loadMusic("sounds/LoveFly - Copy.wav", "love");
  rm.loadMusic("sounds/Minigame.wav", "Mini");
  rm.loadSound("sounds/intermission.wav", "intermission");
  rm.loadMusic("sounds/Start.wav", "start music");
}

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
