#include "Minigame.h"

#include "Coin.h"
#include "Fly.h"
#include "GameUtil.h"
#include "GiantFly.h"
#include "GreedyFly.h"
#include "Impossiflys.h"
#include "LargeFly.h"
#include "LoveFly.h"
#include "Vexlo.h"
#include "utility.h"

namespace {

MinigameType g_current_minigame = NORMAL;

// The draw order of pickMinigame().
const MinigameType DRAW_TABLE[] = {NORMAL, LOVE, MORE,  ODD,   LAZY,  SUPER_FAST,
                                   FAST,   SMALL, LARGE, GIANT, GREED, COIN};
const int DRAW_COUNT = sizeof(DRAW_TABLE) / sizeof(DRAW_TABLE[0]);

// Creates `count` flies of a class, each fully set up before the next.
template <class FlyClass>
void spawn(int count) {
  for (int i = 0; i < count; i++)
    new FlyClass;
}

} // namespace

MinigameType currentMinigame() { return g_current_minigame; }

void setCurrentMinigame(MinigameType type) { g_current_minigame = type; }

void pickMinigame() { g_current_minigame = DRAW_TABLE[vx::randomInt() % DRAW_COUNT]; }

std::string minigameName(MinigameType type) {
  switch (type) {
    case NORMAL: return "NORMAL";
    case LOVE: return "LOVE";
    case MORE: return "MORE";
    case LAZY: return "LAZY";
    case SUPER_FAST: return "SUPER FAST";
    case FAST: return "FAST";
    case SMALL: return "SMALL";
    case LARGE: return "LARGE";
    case GIANT: return "GIANT";
    case GREED: return "GREED";
    case ODD: return "ODD";
    case COIN: return "COIN";
  }
  return "";
}

std::string minigameInstruction(MinigameType type) {
  switch (type) {
    case NORMAL: return "Swat the flies!";
    case LOVE: return "<3";
    case MORE: return "There are MOREEE!?";
    case LAZY: return "Lazy flies ZZZ";
    case SUPER_FAST: return "SUPER fast fly!";
    case FAST: return "Swat the quick ones!";
    case SMALL: return "Get small ones!";
    case LARGE: return "Large Flys";
    case GIANT: return "Giant Fly";
    case GREED: return "Pickpocket flys!";
    case ODD: return "Find the odd one out";
    case COIN: return "DON'T HIT THE FLIES, $ only";
  }
  return "";
}

void flySpeedRange(MinigameType type, float &min, float &max) {
  switch (type) {
    case LAZY:
    case ODD: min = 0.0f; max = 0.0f; return;
    case SUPER_FAST: min = 2.0f; max = 3.0f; return;
    case FAST:
    case SMALL: min = 1.25f; max = 1.75f; return;
    case LARGE: min = 0.25f; max = 0.4f; return;
    case GIANT: min = 0.1f; max = 0.3f; return;
    case GREED: min = 0.5f; max = 1.0f; return;
    case COIN: min = 1.0f; max = 1.5f; return;
    default: min = 0.25f; max = 0.5f; return;
  }
}

void spawnFlies() {
  switch (g_current_minigame) {
    case NORMAL: spawn<Fly>(5); break;
    case LOVE: spawn<LoveFly>(1); break;
    case MORE: spawn<Fly>(8); break;
    case LAZY:
      for (int i = 0; i < 13; i++)
        (new Fly)->setVelocity(vx::Vector(0, 0));
      break;
    case SUPER_FAST: spawn<Fly>(1); break;
    case FAST: spawn<Fly>(4); break;
    case SMALL: spawn<Impossiflys>(3); break;
    case LARGE: spawn<LargeFly>(3); break;
    case GIANT: spawn<GiantFly>(1); break;
    case GREED: spawn<GreedyFly>(6); break;
    case ODD:
      spawn<Vexlo>(1);
      spawn<Fly>(50);
      break;
    case COIN:
      spawn<Coin>(1);
      spawn<Fly>(7);
      break;
  }
}

bool allFliesGone() { return objectsOfTypes({FLY_TYPE, COIN_TYPE, VEXLO_TYPE}).empty(); }

int countGreedyFlies() { return static_cast<int>(objectsOfTypes({GREEDY_FLY_TYPE}).size()); }

bool objectOfTypeExists(const std::string &type) { return firstObjectOfType(type) != nullptr; }
