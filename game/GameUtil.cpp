#include "GameUtil.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "EventView.h"
#include "GameManager.h"
#include "ObjectList.h"
#include "ResourceManager.h"
#include "Sound.h"
#include "WorldManager.h"

void playSound(const std::string &label) {
  vx::Sound *p_sound = vx::ResourceManager::getInstance().getSound(label);
  if (p_sound != nullptr)
    p_sound->play(false);
}

void playMusic(vx::Music *p_music, bool loop) {
  if (p_music != nullptr)
    p_music->play(loop);
}

void pauseMusic(vx::Music *p_music) {
  if (p_music != nullptr)
    p_music->pause();
}

void award(int n) {
  vx::EventView ev(STREAK_TAG, n, true);
  vx::WorldManager::getInstance().onEvent(&ev);
}

std::vector<vx::Object *> objectsOfTypes(const std::vector<std::string> &types) {
  std::vector<vx::Object *> found;
  const vx::ObjectList all = vx::WorldManager::getInstance().getAllObjects(true);
  for (int i = 0; i < all.getCount(); i++) {
    const std::string type = all[i]->getType();
    if (std::find(types.begin(), types.end(), type) != types.end())
      found.push_back(all[i]);
  }
  return found;
}

vx::Object *firstObjectOfType(const std::string &type) {
  const vx::ObjectList all = vx::WorldManager::getInstance().getAllObjects(true);
  for (int i = 0; i < all.getCount(); i++)
    if (all[i]->getType() == type)
      return all[i];
  return nullptr;
}

void markObjectsOfTypes(const std::vector<std::string> &types) {
  for (vx::Object *p_o : objectsOfTypes(types)) {
    vx::WorldManager::getInstance().markForDelete(p_o);
    // Gone for the rest of the step too: a click later in this step must not
    // swat a fly of a minigame that has already ended (after a win it could
    // lose the run if the next kind is COIN or ODD).
    p_o->setActive(false);
  }
}

float worldWidth() { return vx::WorldManager::getInstance().getBoundary().getHorizontal(); }

float worldHeight() { return vx::WorldManager::getInstance().getBoundary().getVertical(); }

int stepsPerSecond() {
  const int DEFAULT_FRAME_TIME = 33;
  int frame_time = vx::GameManager::getInstance().getFrameTime();
  if (frame_time <= 0)
    frame_time = DEFAULT_FRAME_TIME;
  return std::max(1, static_cast<int>(std::lround(1000.0 / frame_time)));
}

std::string envOr(const char *name, const std::string &fallback) {
  const char *p_value = std::getenv(name);
  return p_value != nullptr && *p_value != '\0' ? p_value : fallback;
}
