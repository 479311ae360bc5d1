// The fly-swatting game's entry point.
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
  // --record FILE and --replay FILE name a record for this run; --fast runs
  // the loop without sleeping.
  vx::Recorder &recorder = vx::Recorder::getInstance();
  for (int i = 1; i < argc; i++) {
    const bool record = std::strcmp(argv[i], "--record") == 0;
    if (record || std::strcmp(argv[i], "--replay") == 0) {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "swat: %s needs a file name\n", argv[i]);
        return 2;
      }
      if (record)
        recorder.setRecordFile(argv[++i]);
      else
        recorder.setReplayFile(argv[++i]);
    } else if (std::strcmp(argv[i], "--terminal") == 0) {
      // Plays in the terminal, as VEXLO_DISPLAY=terminal does.
      setenv("VEXLO_DISPLAY", "terminal", 1);
    } else if (std::strcmp(argv[i], "--fast") == 0) {
      recorder.setFast();
    } else {
      std::fprintf(stderr, "swat: unknown option '%s' (--terminal, --record FILE, --replay FILE, --fast)\n",
                   argv[i]);
      return 2;
    }
  }

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
