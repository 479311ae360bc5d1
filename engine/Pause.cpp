#include "Pause.h"

#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "GameManager.h"
#include "InputManager.h"
#include "LockstepMatch.h"
#include "LogManager.h"
#include "PauseScreen.h"
#include "ResourceManager.h"
#include "WorldManager.h"

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
  return pauseGame() ? 1 : 0;
}

namespace {

// Shows the pause box again, in the window's new size. In the browser the
// step that paused has drawn its frame since (the loop holds after it); it is
// drawn again, to be shown when the game resumes.
void showPauseAgain() {
  showPauseScreen();
#ifdef __EMSCRIPTEN__
  WorldManager::getInstance().draw();
#endif
}

// Takes the window's events while the game is paused, waiting for them when
// `wait` says so, until a key press resumes the game (audio, pointer) or the
// window is closed (game over); takes what else is already queued with the
// key. Releases, mouse and focus events are dropped. Returns whether the game
// is still paused: only when not waiting, with no key pressed yet.
bool takePauseEvents(bool wait) {
  const LogManager &log_manager = LogManager::getInstance();
  const InputManager &input_manager = InputManager::getInstance();
  bool resume = false;
  for (;;) {
    const WindowEvent event = input_manager.nextWindowEvent(wait && !resume);
    if (event == NO_WINDOW_EVENT)
      break;
    if (event == WINDOW_CLOSED) {
      log_manager.writeLog("Pause::eventHandler(): Window closed. Setting game over.");
      GameManager::getInstance().setGameOver(true);
      return false;
    }
    if (event == WINDOW_RESIZED)
      showPauseAgain();
    if (event == WINDOW_KEY_PRESSED) {
      log_manager.writeLog("Pause::eventHandler(): Keypressed.");
      resume = true;
    }
  }
  if (!resume && !wait)
    return true;

  // Whatever follows the pointer catches up with where it went meanwhile.
  ResourceManager::getInstance().resumeAudio();
  input_manager.requestPointerUpdate();
  log_manager.writeLog("Pause::eventHandler(): Game resumed.");
  return false;
}

#ifdef __EMSCRIPTEN__
// The loop's hold while the game is paused in the browser.
bool stillPaused() { return takePauseEvents(false); }
#endif

} // namespace

bool pauseGame() {
  GameManager &game_manager = GameManager::getInstance();
  // In the browser the loop is held already: the pause key's held and
  // released events of the same step change nothing.
  if (game_manager.isHeld())
    return true;
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog("Pause::eventHandler(): Game paused.");
  const DisplayManager &display_manager = DisplayManager::getInstance();
  if (!display_manager.isShowing()) {
    log_manager.writeLog(
        "Pause::eventHandler(): DisplayManager unexpectedly returned null window!  Cannot pause.");
    return false;
  }

  // Sounds and music hold where they are, and the picture says why.
  ResourceManager::getInstance().pauseAudio();
  showPauseScreen();

#ifdef __EMSCRIPTEN__
  // The page's thread cannot stand still inside a step: the rest of this one
  // runs, and the loop holds before the next until a key is pressed.
  game_manager.hold(stillPaused);
#else
  // The game loop stands still here: sleep until the window reports a key
  // press (or closes).
  takePauseEvents(true);
#endif
  return true;
}

} // namespace vx
