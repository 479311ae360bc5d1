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

bool s_window_destroyed = false;
XErrorHandler s_previous_handler = nullptr;

// Another program destroying the window (a window manager's tool, xdotool
// windowclose) makes every later request for it fail. Those failures are
// noted instead of ending the process; any other error goes to the handler
// there was (the library's, which ends the process).
int onWindowSystemError(Display *p_display, XErrorEvent *p_error) {
  if (p_error->error_code == BadWindow || p_error->error_code == BadDrawable ||
      s_window_destroyed) {
    s_window_destroyed = true;
    return 0;
  }
  return s_previous_handler != nullptr ? s_previous_handler(p_display, p_error) : 0;
}

} // namespace

void endGameOnWindowSystemLoss() {
  static bool s_installed = false;
  if (s_installed)
    return;
  s_installed = true;
  XSetIOErrorHandler(onWindowSystemLost);
  s_previous_handler = XSetErrorHandler(onWindowSystemError);
}

bool windowDestroyed() { return s_window_destroyed; }

} // namespace vx
