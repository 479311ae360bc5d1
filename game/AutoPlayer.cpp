#include "AutoPlayer.h"

#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventStep.h"
#include "GameStart.h"
#include "GameUtil.h"
#include "InputManager.h"
#include "MinigameTable.h"
#include "TransitionScreen.h"
#include "WorldManager.h"

namespace {

// Steps between two clicks, and between two presses of P on the start screen.
const int CLICK_EVERY = 7;
const int START_EVERY = 30;

} // namespace

AutoPlayer::AutoPlayer(int player)
    : m_player(player), m_steps(0), m_random(static_cast<unsigned int>(7 + 31 * player)),
      m_pointer(worldWidth() / 2, worldHeight() / 2) {
  setType("AutoPlayer");
  setSolidness(vx::SPECTRAL);
  registerInterest(vx::STEP_EVENT);
  releaseId();
  vx::WorldManager::getInstance().removeObject(this);
}

AutoPlayer::~AutoPlayer() {
  // Back into the world for a moment, so that the base class's leaving it
  // finds it there.
  if (vx::WorldManager::getInstance().isStarted())
    vx::WorldManager::getInstance().insertObject(this);
}

void AutoPlayer::move(vx::Vector where, bool click) {
  m_pointer = where;
  vx::EventMouse mouse;
  mouse.setMouseAction(click ? vx::CLICKED : vx::MOVED);
  mouse.setMouseButton(click ? vx::Mouse::LEFT : vx::Mouse::UNDEFINED_MOUSE_BUTTON);
  mouse.setMousePosition(where);
  vx::InputManager::getInstance().queueInput(mouse);
}

void AutoPlayer::act() {
  auto *p_start = dynamic_cast<GameStart *>(firstObjectOfType(GAME_START_TYPE));
  if (p_start != nullptr && p_start->isActive()) {
    if (m_player == 0 && m_steps % START_EVERY == 0) {
      vx::EventKeyboard key;
      key.setKey(vx::Keyboard::P);
      key.setKeyboardAction(vx::KEY_PRESSED);
      vx::InputManager::getInstance().queueInput(key);
    }
    return;
  }
  // A small wander every step, as a hand on a mouse gives.
  std::uniform_real_distribution<float> step(-1.0f, 1.0f);
  vx::Vector wander(m_pointer.getX() + step(m_random), m_pointer.getY() + step(m_random) * 0.5f);
  wander.setX(std::min(std::max(wander.getX(), 0.0f), worldWidth() - 1));
  wander.setY(std::min(std::max(wander.getY(), 0.0f), worldHeight() - 1));
  auto *p_screen = dynamic_cast<TransitionScreen *>(firstObjectOfType(TRANSITION_SCREEN_TYPE));
  const std::vector<vx::Object *> targets = objectsOfTypes(targetTypes());
  if (p_screen == nullptr || !p_screen->isPlaying() || targets.empty() ||
      (m_steps + 3 * m_player) % CLICK_EVERY != 0) {
    move(wander, false);
    return;
  }
  std::uniform_int_distribution<size_t> pick(0, targets.size() - 1);
  const vx::Vector where = targets[pick(m_random)]->getPosition();
  move(where, false);
  move(where, true);
}

int AutoPlayer::eventHandler(const vx::Event *p_e) {
  if (p_e->getType() != vx::STEP_EVENT)
    return 0;
  act();
  m_steps++;
  return 1;
}
