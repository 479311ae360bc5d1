#include "NoDisplay.h"

#include "LogManager.h"

namespace vx {

int NoDisplay::open(DisplayGrid &) {
  LogManager::getInstance().writeLog(1, "DisplayManager::startUp(): no graphics in headless mode.");
  return 0;
}

int NoDisplay::startInput() {
  LogManager::getInstance().writeLog(1, "InputManager::startUp(): no input in headless mode.");
  return 0;
}

} // namespace vx
