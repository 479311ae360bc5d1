#include "Star.h"

#include "Basket.h"

Star::Star() {
  setType("Star");
  setSprite("star");
  setSolidness(vx::SOFT);
  const int width = vx::WorldManager::getInstance().getBoundary().getHorizontal();
  setPosition(vx::Vector(1 + vx::randomInt() % (width - 2), 0));
  // Cells per step: at 33 ms a step, 0.2 is about six cells a second.
  setVelocity(vx::Vector(0, 0.2f + (vx::randomInt() % 20) / 100.0f));
}

int Star::eventHandler(const vx::Event *p_e) {
  if (p_e->getType() == vx::COLLISION_EVENT) {
    const auto *p_hit = static_cast<const vx::EventCollision *>(p_e);
    // The event names both objects; the other one is the basket or a star.
    const vx::Object *p_other = p_hit->getObject1() == this ? p_hit->getObject2()
                                                             : p_hit->getObject1();
    if (p_other->getType() != "Basket")
      return 0;
    if (vx::Sound *p_sound = vx::ResourceManager::getInstance().getSound("catch"))
      p_sound->play();                  // null when the file did not load
    vx::EventView caught(CAUGHT, 1, true); // add 1 to the "Caught" counter
    vx::WorldManager::getInstance().onEvent(&caught);
    replace();
    return 1;
  }
  if (p_e->getType() == vx::OUT_EVENT) { // fell out of the bottom of the world
    vx::EventView missed(MISSED, 1, true);
    vx::WorldManager::getInstance().onEvent(&missed);
    replace();
    return 1;
  }
  return 0;
}

void Star::replace() {
  vx::WorldManager::getInstance().markForDelete(this); // deleted at the end of the step
  new Star;
}
