// The fly-swatting game's entry point.
#include <algorithm>

#include "vexlo.h"

namespace {

// Ends the loop after about three seconds, until the game has objects of its own.
class RunTimer : public vx::Object {
 private:
  int m_steps_left;

 public:
  explicit RunTimer(int steps) : m_steps_left(steps) {
    setType("RunTimer");
    vx::GameManager::getInstance().registerInterest(this, vx::STEP_EVENT);
  }
  ~RunTimer() override { vx::GameManager::getInstance().unregisterInterest(this, vx::STEP_EVENT); }

  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() != vx::STEP_EVENT)
      return 0;
    if (--m_steps_left <= 0)
      vx::GameManager::getInstance().setGameOver();
    return 1;
  }
};

} // namespace

int main() {
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    vx::LogManager::getInstance().writeLog("Error starting game manager!");
    game_manager.shutDown();
    return 1;
  }
  vx::LogManager::getInstance().setFlush(true);
  {
    RunTimer timer(3000 / std::max(1, game_manager.getFrameTime()));
    game_manager.run();
  }
  game_manager.shutDown();
  return 0;
}
