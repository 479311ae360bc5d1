// The fly-swatting game's entry point.
#include <cstdio>

#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "GameManager.h"
#include "InputManager.h"
#include "LogManager.h"
#include "Pause.h"
#include "Recorder.h"
#include "Splash.h"
#include "swat.h"

int main(int argc, char *argv[]) {
  if (helpRequested(argc, argv)) { // Needs no display: nothing is started.
    std::fputs(usageText().c_str(), stdout);
    return 0;
  }
  if (const int status = applyOptions(argc, argv))
    return status;
  useGameData(); // Installed, the data is not in the working directory.
  vx::Recorder &recorder = vx::Recorder::getInstance();

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
  if (vx::InputManager::getInstance().isCloseRequested() || recorder.isFinished()) {
    game_manager.shutDown();
    return recorder.getExitStatus();
  }
  vx::DisplayManager::getInstance().setBackgroundColor(vx::BLACK);
  loadResources();
  new GameStart;
  new vx::Pause(vx::Keyboard::F10);
  game_manager.run();
  game_manager.shutDown();
  return recorder.getExitStatus();
}
