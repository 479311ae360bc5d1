#include "MinigameTable.h"

#include <algorithm>

#include "Coin.h"
#include "GameUtil.h"
#include "GiantFly.h"
#include "GreedyFly.h"
#include "Impossiflys.h"
#include "LargeFly.h"
#include "LoveFly.h"
#include "Vexlo.h"

namespace {

template <class FlyClass>
Fly *make() {
  return new FlyClass;
}

void addOnce(std::vector<std::string> &names, const std::string &name) {
  if (std::find(names.begin(), names.end(), name) == names.end())
    names.push_back(name);
}

const std::string MINIGAME_MUSIC = "Mini";

} // namespace

namespace targets {
const Target FLY = {FLY_TYPE, make<Fly>};
const Target LOVE_FLY = {LOVE_FLY_TYPE, make<LoveFly>};
const Target SMALL_FLY = {FLY_TYPE, make<Impossiflys>};
const Target LARGE_FLY = {FLY_TYPE, make<LargeFly>};
const Target GIANT_FLY = {FLY_TYPE, make<GiantFly>};
const Target GREEDY_FLY = {GREEDY_FLY_TYPE, make<GreedyFly>};
const Target COIN_FLY = {COIN_TYPE, make<Coin>};
const Target ODD_FLY = {VEXLO_TYPE, make<Vexlo>};
} // namespace targets

const std::vector<MinigameRow> &minigameTable() {
  using namespace targets;
  // clang-format off
  static const std::vector<MinigameRow> TABLE = {
    // kind, name, rule, speeds, spawns, goal, worth, losing, lost by time, cost per left, music
    {NORMAL, "NORMAL", "Swat the flies!", 0.25f, 0.5f, {{&FLY, 5}}, {&FLY}, 1, {}, true, 0, MINIGAME_MUSIC},
    {LOVE, "LOVE", "<3", 0.25f, 0.5f, {{&LOVE_FLY, 1}}, {}, 0, {}, false, 0, "love"},
    {MORE, "MORE", "There are MOREEE!?", 0.25f, 0.5f, {{&FLY, 8}}, {&FLY}, 1, {}, true, 0, MINIGAME_MUSIC},
    {ODD, "ODD", "Find the odd one out", 0.0f, 0.0f, {{&ODD_FLY, 1}, {&FLY, 50}}, {&ODD_FLY}, 1, {&FLY}, true, 0, MINIGAME_MUSIC},
    {LAZY, "LAZY", "Lazy flies ZZZ", 0.0f, 0.0f, {{&FLY, 13}}, {&FLY}, 1, {}, true, 0, MINIGAME_MUSIC},
    {SUPER_FAST, "SUPER FAST", "SUPER fast fly!", 2.0f, 3.0f, {{&FLY, 1}}, {&FLY}, 1, {}, true, 0, MINIGAME_MUSIC},
    {FAST, "FAST", "Swat the quick ones!", 1.25f, 1.75f, {{&FLY, 4}}, {&FLY}, 1, {}, true, 0, MINIGAME_MUSIC},
    {SMALL, "SMALL", "Get small ones!", 1.25f, 1.75f, {{&SMALL_FLY, 3}}, {&SMALL_FLY}, 1, {}, true, 0, MINIGAME_MUSIC},
    {LARGE, "LARGE", "Large Flys", 0.25f, 0.4f, {{&LARGE_FLY, 3}}, {&LARGE_FLY}, 1, {}, true, 0, MINIGAME_MUSIC},
    {GIANT, "GIANT", "Giant Fly", 0.1f, 0.3f, {{&GIANT_FLY, 1}}, {&GIANT_FLY}, 1, {}, true, 0, MINIGAME_MUSIC},
    {GREED, "GREED", "Pickpocket flys!", 0.5f, 1.0f, {{&GREEDY_FLY, 6}}, {&GREEDY_FLY}, 1, {}, false, 1, MINIGAME_MUSIC},
    {COIN, "COIN", "DON'T HIT THE FLIES, $ only", 1.0f, 1.5f, {{&COIN_FLY, 1}, {&FLY, 7}}, {&COIN_FLY}, 2, {&FLY}, true, 0, MINIGAME_MUSIC},
  };
  // clang-format on
  return TABLE;
}

const MinigameRow *findMinigameRow(MinigameType type) {
  for (const MinigameRow &row : minigameTable())
    if (row.type == type)
      return &row;
  return nullptr;
}

const MinigameRow &currentMinigameRow() {
  const MinigameRow *p_row = findMinigameRow(currentMinigame());
  return p_row != nullptr ? *p_row : minigameTable().front();
}

bool MinigameRow::goalMet() const { return !goal.empty() && goalTargetsLeft() == 0; }

int MinigameRow::goalTargetsLeft() const {
  std::vector<std::string> types;
  for (const Target *p_target : goal)
    addOnce(types, p_target->type);
  return static_cast<int>(objectsOfTypes(types).size());
}

bool MinigameRow::deathLoses(const std::string &type) const {
  return std::any_of(losing.begin(), losing.end(),
                     [&](const Target *p_target) { return p_target->type == type; });
}

std::vector<std::string> MinigameRow::spawnedTypes() const {
  std::vector<std::string> types;
  for (const Spawn &spawn : spawns)
    addOnce(types, spawn.p_target->type);
  return types;
}

std::vector<std::string> targetTypes() {
  std::vector<std::string> types;
  for (const MinigameRow &row : minigameTable())
    for (const std::string &type : row.spawnedTypes())
      addOnce(types, type);
  return types;
}

std::vector<std::string> minigameMusicLabels() {
  std::vector<std::string> labels;
  for (const MinigameRow &row : minigameTable())
    addOnce(labels, row.music);
  return labels;
}
