#include "WindowLoss.h"

#include <unistd.h>

#include <X11/Xlib.h>

#include "DisplayManager.h"
#include "GameManager.h"
#include "LogManager.h"

namespace vx {

namespace {

int onWindowSystemLost(Display *) {
  static bool s_ending = false;
  if (s_ending)
    _exit(0); // Something in the shut-down reached the dead connection again.
  s_ending = true;
  LogManager::getInstance().writeLog(
      "DisplayManager: Error! The connection to the window system was lost (the window was "
      "killed or the display closed). Ending the game.");
  DisplayManager::getInstance().abandonWindow();
  GameManager &game_manager = GameManager::getInstance();
  game_manager.setGameOver(true);
  game_manager.shutDown();
  _exit(0);
}

} // namespace

void endGameOnWindowSystemLoss() {
  static bool s_installed = false;
  if (s_installed)
    return;
  s_installed = true;
  XSetIOErrorHandler(onWindowSystemLost);
}

} // namespace vx
