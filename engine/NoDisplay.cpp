#include "NoDisplay.h"

#include "Config.h"
#include "LogManager.h"

namespace vx {

int NoDisplay::open(DisplayGrid &) {
  m_opened = true;
  LogManager::getInstance().writeLog(1, "DisplayManager::startUp(): no graphics in headless mode.");
  return 0;
}

int NoDisplay::startInput() {
  const bool headless = Config::getInstance().getHeadless();
  if (!m_opened && !headless) {
    LogManager::getInstance().writeLog(
        "InputManager::startUp(): Error! DisplayManager must be started first.");
    return -1;
  }
  if (headless)
    LogManager::getInstance().writeLog(1, "InputManager::startUp(): no input in headless mode.");
  else
    LogManager::getInstance().writeLog(
        "InputManager::startUp(): Warning! DisplayManager null. Cannot disable keyboard repeat.");
  return 0;
}

void NoDisplay::deliverInput(const InputManager &) {
  if (!Config::getInstance().getHeadless())
    LogManager::getInstance().writeLog(
        "InputManager::getInput(): DisplayManager unexpectedly returned null window!");
}

} // namespace vx
