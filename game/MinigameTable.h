// Every kind of minigame in one table: its texts, how fast its flies move,
// what it spawns, what must be gone to win it and what that is worth, which
// deaths lose the run, whether running out of time loses it, and its music.
// The minigame flow, the swatter and the flies ask the table; adding a kind is
// one row here (and its value in MinigameType), a new target one class plus
// its entry in the targets.
#ifndef SWAT_MINIGAME_TABLE_H
#define SWAT_MINIGAME_TABLE_H

#include <string>
#include <vector>

#include "Minigame.h"

class Fly;

// A kind of target: the type name its class gives it and how one is made
// (constructed fully set up, near the middle of the world).
struct Target {
  std::string type;
  Fly *(*make)();
};

// The targets, one for each class.
namespace targets {
extern const Target FLY;        // Fly: one swat.
extern const Target LOVE_FLY;   // LoveFly: never dies, each swat scores.
extern const Target SMALL_FLY;  // Impossiflys: one swat, small.
extern const Target LARGE_FLY;  // LargeFly: 5 swats.
extern const Target GIANT_FLY;  // GiantFly: 20 swats.
extern const Target GREEDY_FLY; // GreedyFly: 3 swats.
extern const Target COIN_FLY;   // Coin: one swat, no splat.
extern const Target ODD_FLY;    // Vexlo: one swat, no splat.
} // namespace targets

// So many targets of a kind.
struct Spawn {
  const Target *p_target;
  int count;
};

struct MinigameRow {
  MinigameType type;
  std::string name;                // Shown before the minigame: "NORMAL", ...
  std::string instruction;         // Its rule: "Swat the flies!", ...
  float min_speed, max_speed;      // Fly speeds, cells per step.
  std::vector<Spawn> spawns;       // Made in this order, each fully before the next.
  std::vector<const Target *> goal; // Won as soon as none of these is left (none: never won early).
  int worth;                       // Added to the streak for a win.
  std::vector<const Target *> losing; // Killing one of these loses the run.
  bool lost_by_time;               // Time up with the goal not met loses the run...
  int cost_per_left;               // ...else it ends, each goal target left costing this.
  std::string music;               // Label of the music played, looping, during it.

  // Whether the goal is met: it has one and none of its targets is left.
  bool goalMet() const;
  // Objects of the goal's types left in the world.
  int goalTargetsLeft() const;
  // Whether the death of an object of the type loses the run.
  bool deathLoses(const std::string &type) const;
  // The type names of what this minigame spawns, each once.
  std::vector<std::string> spawnedTypes() const;
};

// The rows, in the order pickMinigame() draws from.
const std::vector<MinigameRow> &minigameTable();

// The row of a kind, or null for a value that is no minigame.
const MinigameRow *findMinigameRow(MinigameType type);

// The row of the current minigame (the first row if it is none).
const MinigameRow &currentMinigameRow();

// The type names of every target any minigame spawns.
std::vector<std::string> targetTypes();

// The labels of every minigame music, each once.
std::vector<std::string> minigameMusicLabels();

#endif // SWAT_MINIGAME_TABLE_H
