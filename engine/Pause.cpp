#include "Pause.h"

#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "GameManager.h"
#include "InputManager.h"
#include "LockstepMatch.h"
#include "LogManager.h"
#include "PauseScreen.h"
#include "ResourceManager.h"

namespace vx {

Pause::Pause(int pause_key) : m_pause_key(pause_key) {
  LogManager::getInstance().writeLog(
      "Pause::Pause(): Pause enabled.  Press any other key to resume.");
  setSolidness(SPECTRAL);
  setType("Pause");
  registerInterest(KEYBOARD_EVENT);
}

int Pause::eventHandler(const Event *p_e) {
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(10, "Pause::eventHandler(): Got event");
  const EventKeyboard *p_keyboard = dynamic_cast<const EventKeyboard *>(p_e);
  if (p_keyboard == nullptr)
    return 0;
  // Press, held and release of the pause key all pause alike.
  if (p_keyboard->getKey() != m_pause_key)
    return 1;

  // A pause changes nothing in the world, and a replay must not wait for a key.
  const InputManager &input_manager = InputManager::getInstance();
  if (!input_manager.isLive())
    return 1;
  // In a match the key reached both machines in the same step: both pause,
  // once per press, and either player's key resumes both.
  LockstepMatch &match = LockstepMatch::getInstance();
  if (match.isPlaying()) {
    if (p_keyboard->getKeyboardAction() == KEY_PRESSED)
      match.pause(p_keyboard->getPlayer());
    return 1;
  }
  log_manager.writeLog("Pause::eventHandler(): Game paused.");
  const DisplayManager &display_manager = DisplayManager::getInstance();
  if (!display_manager.isShowing()) {
    log_manager.writeLog(
        "Pause::eventHandler(): DisplayManager unexpectedly returned null window!  Cannot pause.");
    return 0;
  }

  // Sounds and music hold where they are, and the picture says why.
  ResourceManager::getInstance().pauseAudio();
  showPauseScreen();

  // The game loop stands still here: sleep until the window reports a key
  // press, then take what else is already queued with it. Releases, mouse and
  // focus events are dropped.
  bool resume = false;
  for (;;) {
    const WindowEvent event = input_manager.nextWindowEvent(!resume);
    if (event == NO_WINDOW_EVENT)
      break;
    if (event == WINDOW_CLOSED) {
      log_manager.writeLog("Pause::eventHandler(): Window closed. Setting game over.");
      GameManager::getInstance().setGameOver(true);
      return 1;
    }
    if (event == WINDOW_RESIZED)
      showPauseScreen();
    if (event == WINDOW_KEY_PRESSED) {
      log_manager.writeLog("Pause::eventHandler(): Keypressed.");
      resume = true;
    }
  }

  // Whatever follows the pointer catches up with where it went meanwhile.
  ResourceManager::getInstance().resumeAudio();
  input_manager.requestPointerUpdate();
  log_manager.writeLog("Pause::eventHandler(): Game resumed.");
  return 1;
}

} // namespace vx
