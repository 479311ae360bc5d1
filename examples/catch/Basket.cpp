#include "Basket.h"

#include <algorithm>

Basket::Basket() {
  setType("Basket");
  setSprite("basket");                  // loaded in main; the sprite's size is the box
  setSolidness(vx::SOFT);               // collides with the stars but blocks nothing
  const float bottom = vx::WorldManager::getInstance().getBoundary().getVertical() - 2;
  setPosition(vx::Vector(40, bottom));  // the sprite's centre, in cells
  registerInterest(vx::KEYBOARD_EVENT);
  registerInterest(vx::MSE_EVENT);
}

int Basket::eventHandler(const vx::Event *p_e) {
  if (p_e->getType() == vx::KEYBOARD_EVENT) {
    const auto *p_key = static_cast<const vx::EventKeyboard *>(p_e);
    if (p_key->getKeyboardAction() == vx::KEY_RELEASED)
      return 0;                         // KEY_PRESSED once, then KEY_DOWN every step
    switch (p_key->getKey()) {
    case vx::Keyboard::LEFTARROW: moveTo(getPosition().getX() - 1); return 1;
    case vx::Keyboard::RIGHTARROW: moveTo(getPosition().getX() + 1); return 1;
    case vx::Keyboard::Q: vx::GameManager::getInstance().setGameOver(); return 1;
    default: return 0;
    }
  }
  if (p_e->getType() == vx::MSE_EVENT) {
    const auto *p_mouse = static_cast<const vx::EventMouse *>(p_e);
    if (p_mouse->getMouseAction() != vx::MOVED)
      return 0;
    // Mouse positions are in view cells; this game's view is the whole world.
    moveTo(p_mouse->getMousePosition().getX());
    return 1;
  }
  return 0;
}

void Basket::moveTo(float x) {
  const float half = getBox().getHorizontal() / 2;
  const float right = vx::WorldManager::getInstance().getBoundary().getHorizontal() - half;
  x = std::max(half, std::min(x, right));
  vx::WorldManager::getInstance().moveObject(this, vx::Vector(x, getPosition().getY()));
}
