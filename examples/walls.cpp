// A character moved with the arrow keys that stops at the walls, and counts
// how often it bumps into one. Escape ends the game.
#include <string>

#include <vexlo/vexlo.h>

// One block of wall. Objects are HARD by default: two HARD objects never
// overlap, so the world refuses any move of the hero into a wall.
class Wall : public vx::Object {
 public:
  explicit Wall(vx::Vector position) {
    setType("Wall");
    setPosition(position);
  }

  int draw() override {
    return vx::DisplayManager::getInstance().drawCh(getPosition(), '#', vx::BLUE);
  }
};

class Hero : public vx::Object {
 private:
  int m_bumps = 0;

  void step(float dx, float dy) {
    // The world moves it, or sends both objects a "vx-collision" and leaves it.
    vx::WorldManager::getInstance().moveObject(this, getPosition() + vx::Vector(dx, dy));
  }

 public:
  Hero() {
    setType("Hero");
    setPosition(vx::Vector(20, 12));
    registerInterest(vx::KEYBOARD_EVENT); // unregistered by the destructor
  }

  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() == vx::COLLISION_EVENT) {
      m_bumps++;
      return 1;
    }
    if (p_e->getType() != vx::KEYBOARD_EVENT)
      return 0;
    const auto *p_key = static_cast<const vx::EventKeyboard *>(p_e);
    if (p_key->getKeyboardAction() != vx::KEY_PRESSED)
      return 0;
    switch (p_key->getKey()) {
    case vx::Keyboard::LEFTARROW: step(-1, 0); break;
    case vx::Keyboard::RIGHTARROW: step(1, 0); break;
    case vx::Keyboard::UPARROW: step(0, -1); break;
    case vx::Keyboard::DOWNARROW: step(0, 1); break;
    case vx::Keyboard::ESCAPE: vx::GameManager::getInstance().setGameOver(); break;
    default: return 0;
    }
    return 1;
  }

  int draw() override {
    vx::DisplayManager &display = vx::DisplayManager::getInstance();
    display.drawString(vx::Vector(1, 0), "Bumps: " + std::to_string(m_bumps), vx::JUSTIFY_LEFT,
                       vx::WHITE);
    return display.drawCh(getPosition(), '@', vx::YELLOW);
  }
};

int main() {
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    game_manager.shutDown();
    return 1;
  }
  // A room the size of the window, with a wall half across its middle.
  const int width = vx::DisplayManager::getInstance().getHorizontal();
  const int height = vx::DisplayManager::getInstance().getVertical();
  for (int x = 0; x < width; x++) {
    new Wall(vx::Vector(x, 1));
    new Wall(vx::Vector(x, height - 1));
  }
  for (int y = 2; y < height - 1; y++) {
    new Wall(vx::Vector(0, y));
    new Wall(vx::Vector(width - 1, y));
    if (y > height / 2)
      new Wall(vx::Vector(width / 2, y));
  }
  new Hero;
  game_manager.run();
  game_manager.shutDown();
  return 0;
}
