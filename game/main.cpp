// The fly-swatting game's entry point.
#include <cstdio>

#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "GameManager.h"
#include "InputManager.h"
#include "LockstepMatch.h"
#include "LogManager.h"
#include "Pause.h"
#include "Recorder.h"
#include "Splash.h"
#include "swat.h"

namespace {

// Shuts the engine down and gives the program's exit status: a replay's
// outcome, or a match's. How a match ended goes to the terminal once the
// game no longer draws there.
int finish(bool terminal) {
  vx::GameManager::getInstance().shutDown();
  const vx::LockstepMatch &match = vx::LockstepMatch::getInstance();
  if (terminal && !match.getEndMessage().empty())
    std::printf("%s.\n", match.getEndMessage().c_str());
  const int status = vx::Recorder::getInstance().getExitStatus();
  return status != 0 ? status : match.getExitStatus();
}

} // namespace

int main(int argc, char *argv[]) {
  if (helpRequested(argc, argv)) { // Needs no display: nothing is started.
    std::fputs(usageText().c_str(), stdout);
    return 0;
  }
  if (const int status = applyOptions(argc, argv))
    return status;
  useGameData(); // Installed, the data is not in the working directory.
  vx::Recorder &recorder = vx::Recorder::getInstance();
  vx::LockstepMatch &match = vx::LockstepMatch::getInstance();

  vx::GameManager &game_manager = vx::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    vx::LogManager::getInstance().writeLog("Error starting game manager!");
    game_manager.shutDown();
    vx::reportStartupFailure(); // The log's errors and its path, on the terminal too.
    return 1;
  }
  vx::LogManager::getInstance().setFlush(true);
  vx::DisplayManager::getInstance().setTitle("Swat");
  vx::splash();
  // A window closed during the splash ends the program, not just the splash.
  const bool terminal = vx::DisplayManager::getInstance().usesTerminal();
  if (vx::InputManager::getInstance().isCloseRequested() || recorder.isFinished() ||
      match.isOver())
    return finish(terminal);
  vx::DisplayManager::getInstance().setBackgroundColor(vx::BLACK);
  loadResources();
  new GameStart;
  new vx::Pause(vx::Keyboard::F10);
  AutoPlayer *p_bot = botRequested(argc, argv) ? new AutoPlayer(match.getLocalPlayer()) : nullptr;
  game_manager.run();
  delete p_bot;
  return finish(terminal);
}
