#include "Minigame.h"

#include "GameUtil.h"
#include "MinigameTable.h"
#include "utility.h"

namespace {

MinigameType g_current_minigame = NORMAL;

} // namespace

MinigameType currentMinigame() { return g_current_minigame; }

void setCurrentMinigame(MinigameType type) { g_current_minigame = type; }

void pickMinigame() {
  const std::vector<MinigameRow> &table = minigameTable();
  g_current_minigame = table[vx::randomInt() % table.size()].type;
}

std::string minigameName(MinigameType type) {
  const MinigameRow *p_row = findMinigameRow(type);
  return p_row != nullptr ? p_row->name : "";
}

std::string minigameInstruction(MinigameType type) {
  const MinigameRow *p_row = findMinigameRow(type);
  return p_row != nullptr ? p_row->instruction : "";
}

void flySpeedRange(MinigameType type, float &min, float &max) {
  const MinigameRow *p_row = findMinigameRow(type);
  // A value that is no minigame moves its flies as the first kind (NORMAL) does.
  const MinigameRow &row = p_row != nullptr ? *p_row : minigameTable().front();
  min = row.min_speed;
  max = row.max_speed;
}

void spawnFlies() {
  const MinigameRow *p_row = findMinigameRow(g_current_minigame);
  if (p_row == nullptr)
    return;
  for (const Spawn &spawn : p_row->spawns)
    for (int i = 0; i < spawn.count; i++)
      spawn.p_target->make();
}

// The targets whose survival can lose a run: those of the goals of the kinds
// lost by time (plain flies, coins and odd flies).
bool allFliesGone() {
  std::vector<std::string> types;
  for (const MinigameRow &row : minigameTable())
    if (row.lost_by_time)
      for (const Target *p_target : row.goal)
        types.push_back(p_target->type);
  return objectsOfTypes(types).empty();
}

int countGreedyFlies() { return static_cast<int>(objectsOfTypes({GREEDY_FLY_TYPE}).size()); }

bool objectOfTypeExists(const std::string &type) { return firstObjectOfType(type) != nullptr; }
