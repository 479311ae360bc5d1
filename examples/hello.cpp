// The smallest complete Vexlo program: a greeting drifts across the screen,
// and the game ends when it has left the world. Run it from a folder that holds
// the font, vx-font.ttf (the build's run/ folder does); it logs to vexlo.log.
#include <vexlo/vexlo.h>

// A game object: made with new, owned by the world from then on.
class Greeting : public vx::Object {
 public:
  Greeting() {
    setType("Greeting");
    setSolidness(vx::SPECTRAL);              // passes through everything
    setPosition(vx::Vector(0, 12));          // world positions are in cells
    setVelocity(vx::Vector(0.25f, 0));       // a quarter of a cell per step
  }

  // Every object receives "vx-out" when it leaves the world; other event types
  // need registerInterest() first.
  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() == vx::OUT_EVENT) {
      vx::GameManager::getInstance().setGameOver(); // the loop ends after this step
      return 1;
    }
    return 0;
  }

  // Called once per step; without a sprite the object draws itself.
  int draw() override {
    return vx::DisplayManager::getInstance().drawString(getPosition(), "Hello, Vexlo!",
                                                        vx::JUSTIFY_LEFT, vx::GREEN);
  }
};

int main() {
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  if (game_manager.startUp() != 0) { // the log says why
    game_manager.shutDown();
    return 1;
  }
  new Greeting;
  game_manager.run();      // about ten seconds: 33 ms a step by default
  game_manager.shutDown(); // deletes every object
  return 0;
}
