// Catch: move the basket with the arrow keys or the mouse and catch the
// falling stars. Five missed stars end the game; Q ends it at once.
#include <vexlo/vexlo.h>

#include "Basket.h"
#include "Star.h"

// The view object for the missed stars, which also ends the game.
class MissedCounter : public vx::ViewObject {
 public:
  MissedCounter() {
    setLocation(vx::TOP_RIGHT);
    setViewString(MISSED);
    setColor(vx::RED);
  }
  int eventHandler(const vx::Event *p_e) override {
    const int handled = vx::ViewObject::eventHandler(p_e); // takes the view event
    if (getValue() >= MISSES_ALLOWED)
      vx::GameManager::getInstance().setGameOver();
    return handled;
  }
};

int main() {
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  if (game_manager.startUp() != 0) { // vexlo.log says why
    game_manager.shutDown();
    return 1;
  }
  vx::ResourceManager &resources = vx::ResourceManager::getInstance();
  resources.loadSprite("sprites/basket-spr.txt", "basket");
  resources.loadSprite("sprites/star-spr.txt", "star");
  resources.loadSound("sounds/catch.wav", "catch"); // a game without it plays silently

  auto *p_caught = new vx::ViewObject; // the score: owned by the world, like every object
  p_caught->setLocation(vx::TOP_LEFT);
  p_caught->setViewString(CAUGHT);
  p_caught->setColor(vx::YELLOW);
  new MissedCounter;

  new Basket;
  for (int i = 0; i < 2; i++)
    new Star;
  game_manager.run();
  game_manager.shutDown();
  return 0;
}
