#include "Swatter.h"

#include <algorithm>

#include "Dust.h"
#include "EventMouse.h"
#include "Fly.h"
#include "GameUtil.h"
#include "InputManager.h"
#include "MinigameTable.h"
#include "ObjectList.h"
#include "SwatReach.h"
#include "WorldManager.h"
#include "WorldGeometry.h"
#include "utility.h"

namespace {

// A swat reaches the targets of the minigames and nothing else.
bool isSwattable(const std::string &type) {
  const std::vector<std::string> types = targetTypes();
  return std::find(types.begin(), types.end(), type) != types.end();
}

} // namespace

Swatter::Swatter() {
  setType(SWATTER_TYPE);
  setSprite("bullet");
  setSolidness(vx::SPECTRAL);
  setAltitude(vx::MAX_ALTITUDE);
  registerInterest(vx::MSE_EVENT);
  // Where the pointer is, so that the swatter is drawn under it from the
  // first step; the middle of the world when its place is not known.
  vx::Vector pointer;
  if (vx::InputManager::getInstance().getMousePosition(pointer)) {
    setPosition(pointer);
    return;
  }
  const int w = static_cast<int>(worldWidth());
  const int h = static_cast<int>(worldHeight());
  setPosition(vx::Vector(static_cast<float>(w / 2), static_cast<float>(h / 2)));
}

int Swatter::eventHandler(const vx::Event *p_e) {
  if (p_e->getType() != vx::MSE_EVENT)
    return 0;
  const auto *p_mouse = static_cast<const vx::EventMouse *>(p_e);
  if (p_mouse->getMouseAction() == vx::MOVED) {
    setPosition(p_mouse->getMousePosition());
    return 1;
  }
  if (p_mouse->getMouseAction() != vx::CLICKED)
    return 0;

  playSound("swat");
  // The swatter is shown where it struck, so what the player sees is what
  // was hit.
  const vx::Vector where = p_mouse->getMousePosition();
  setPosition(where);
  const vx::Box reach = vx::getWorldBox(this, where);
  // Flies that die here are only marked for deletion, so every fly of the
  // list is still there to take its click.
  const vx::ObjectList hits = vx::WorldManager::getInstance().getCollisions(this, where);
  bool hit = false;
  for (int i = 0; i < hits.getCount(); i++) {
    if (!isSwattable(hits[i]->getType()) || !swatReaches(reach, vx::getWorldBox(hits[i])))
      continue;
    if (auto *p_fly = dynamic_cast<Fly *>(hits[i])) {
      p_fly->eventHandler(p_e);
      hit = true;
    }
  }
  if (!hit) // A miss still shows where the swatter came down.
    puffDust(where);
  return 1;
}
