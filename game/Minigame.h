// The kinds of minigame, the current one, their texts and flies, and the
// questions the minigame flow asks the world about what is left in it.
#ifndef SWAT_MINIGAME_H
#define SWAT_MINIGAME_H

#include <string>

// The kinds of minigame. The values are fixed (there is no 9). Each has its
// row in the minigame table (MinigameTable.h), which says all the rest.
enum MinigameType : int {
  NORMAL = 0,     // 5 flies.
  LOVE = 1,       // 1 love fly that scores on every hit; never lost.
  MORE = 2,       // 8 flies.
  LAZY = 3,       // 13 flies that never move.
  SUPER_FAST = 4, // 1 very fast fly.
  FAST = 5,       // 4 fast flies.
  SMALL = 6,      // 3 small flies.
  LARGE = 7,      // 3 flies of 5 hits each.
  GIANT = 8,      // 1 fly of 20 hits.
  GREED = 10,     // 6 greedy flies of 3 hits; those left cost the streak.
  ODD = 11,       // 1 odd fly among 50 that must not be hit.
  COIN = 12,      // 1 coin among 7 flies that must not be hit.
};

// The current minigame, shared by the whole program. Starts as NORMAL and
// keeps its value from one run to the next.
MinigameType currentMinigame();
void setCurrentMinigame(MinigameType type);

// Draws a minigame at random (every row of the table alike) and makes it current.
void pickMinigame();

// "NORMAL", "SUPER FAST", ...; "" for a value that is no minigame.
std::string minigameName(MinigameType type);

// The rule shown before the minigame ("Swat the flies!", ...); "" for a value
// that is no minigame.
std::string minigameInstruction(MinigameType type);

// The speed range of the flies of a minigame, in cells per step.
void flySpeedRange(MinigameType type, float &min, float &max);

// Creates the flies of the current minigame.
void spawnFlies();

// Tests over every object in the world, inactive ones included, by exact type
// name. No object of type "Fly", "CoinFly" or "VexLo" left:
bool allFliesGone();
// The number of objects of type "GreedFly":
int countGreedyFlies();
// Whether any object has the type:
bool objectOfTypeExists(const std::string &type);

#endif // SWAT_MINIGAME_H
