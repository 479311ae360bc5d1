// Particles and a heads-up display: a click bursts sparks where the mouse is,
// space sends up skyrockets, and every few seconds a haze rises by itself. A
// counter at the top right counts the effects. Escape ends the game.
#include <vexlo/vexlo.h>

// Starts the effects. It is never drawn and collides with nothing.
class Launcher : public vx::Object {
 private:
  // Starts an effect and adds 1 to the counter: every view object whose view
  // string is the event's tag takes the event's value.
  void launch(vx::ParticleEffect effect, vx::Vector where, vx::Color color) {
    vx::addParticles(effect, where, 3.0f, color);
    vx::EventView count("Effects", 1, true);
    vx::WorldManager::getInstance().onEvent(&count);
  }

 public:
  Launcher() {
    setType("Launcher");
    setSolidness(vx::SPECTRAL);
    setVisible(false);
    registerInterest(vx::MSE_EVENT);
    registerInterest(vx::KEYBOARD_EVENT);
    registerInterest(vx::STEP_EVENT);
  }

  int eventHandler(const vx::Event *p_e) override {
    const vx::Box world = vx::WorldManager::getInstance().getBoundary();
    if (p_e->getType() == vx::MSE_EVENT) {
      const auto *p_mouse = static_cast<const vx::EventMouse *>(p_e);
      if (p_mouse->getMouseAction() != vx::CLICKED)
        return 0;
      // The mouse is in view cells; effects live in the world.
      launch(vx::BURST, vx::viewToWorld(p_mouse->getMousePosition()), vx::RED);
      return 1;
    }
    if (p_e->getType() == vx::KEYBOARD_EVENT) {
      const auto *p_key = static_cast<const vx::EventKeyboard *>(p_e);
      if (p_key->getKeyboardAction() != vx::KEY_PRESSED)
        return 0;
      if (p_key->getKey() == vx::Keyboard::SPACE)
        launch(vx::SKYROCKETS, vx::Vector(world.getHorizontal() / 2, world.getVertical() - 1),
               vx::CUSTOM);
      else if (p_key->getKey() == vx::Keyboard::ESCAPE)
        vx::GameManager::getInstance().setGameOver();
      return 1;
    }
    if (p_e->getType() == vx::STEP_EVENT) {
      // 90 steps of 33 ms: about three seconds.
      if (static_cast<const vx::EventStep *>(p_e)->getStepCount() % 90 == 0)
        launch(vx::HAZE, vx::Vector(world.getHorizontal() / 4, world.getVertical() - 2),
               vx::WHITE);
      return 1;
    }
    return 0;
  }
};

int main() {
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    game_manager.shutDown();
    return 1;
  }
  // View objects stay put on the screen whatever the view shows of the world.
  vx::ViewObject *p_counter = new vx::ViewObject;
  p_counter->setViewString("Effects");
  p_counter->setLocation(vx::TOP_RIGHT);
  p_counter->setColor(vx::YELLOW);

  vx::ViewObject *p_help = new vx::ViewObject;
  p_help->setViewString("click: burst  space: rockets  escape: quit");
  p_help->setDrawValue(false);
  p_help->setBorder(false);
  p_help->setLocation(vx::BOTTOM_CENTER);

  new Launcher;
  game_manager.run();
  game_manager.shutDown();
  return 0;
}
