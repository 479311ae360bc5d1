#include "Swatter.h"

#include <algorithm>

#include "DisplayManager.h"
#include "Dust.h"
#include "EventMouse.h"
#include "Fly.h"
#include "GameUtil.h"
#include "InputManager.h"
#include "LockstepMatch.h"
#include "MinigameTable.h"
#include "ObjectList.h"
#include "Sprite.h"
#include "SwatReach.h"
#include "WorldManager.h"
#include "WorldGeometry.h"
#include "utility.h"

namespace {

// The colours of the swatters of a game of two: the host's, the guest's.
const vx::Color PLAYER_COLORS[vx::MAX_PLAYERS] = {vx::YELLOW, vx::CYAN};

// A swat reaches the targets of the minigames and nothing else.
bool isSwattable(const std::string &type) {
  const std::vector<std::string> types = targetTypes();
  return std::find(types.begin(), types.end(), type) != types.end();
}

} // namespace

Swatter::Swatter(int player) : m_player(player) {
  setType(SWATTER_TYPE);
  setSprite("bullet");
  setSolidness(vx::SPECTRAL);
  setAltitude(vx::MAX_ALTITUDE);
  registerInterest(vx::MSE_EVENT);
  // Where the pointer is, so that the swatter is drawn under it from the
  // first step; the middle of the world when its place is not known.
  vx::Vector pointer;
  if (vx::InputManager::getInstance().getMousePosition(pointer, m_player)) {
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
  if (p_mouse->getPlayer() != m_player)
    return 0;
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

int Swatter::draw() {
  if (vx::playerCount() < 2)
    return Object::draw();
  const vx::Sprite *p_sprite = getAnimation().getSprite();
  if (p_sprite == nullptr || p_sprite->getFrameCount() < 1)
    return Object::draw();
  const int player = m_player >= 0 && m_player < vx::MAX_PLAYERS ? m_player : 0;
  // The frame's characters centred on the position, its blanks see-through.
  const std::string shape = p_sprite->getFrame(0).getString();
  const float left = getPosition().getX() - static_cast<float>(shape.size() / 2);
  int result = 0;
  for (size_t i = 0; i < shape.size(); i++)
    if (shape[i] != ' ')
      result |= vx::DisplayManager::getInstance().drawCh(
          vx::Vector(left + static_cast<float>(i), getPosition().getY()), shape[i],
          PLAYER_COLORS[player]);
  return result == 0 ? 0 : -1;
}
