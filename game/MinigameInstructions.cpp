#include "MinigameInstructions.h"

MinigameInstructions::MinigameInstructions(const std::string &name,
                                           const std::string &instruction) {
  setType("MinigameInstructions");
  setLocation(vx::TOP_CENTER);
  setColor(vx::WHITE);
  setDrawValue(false); // The rule is text: a value after it reads as a bug.
  setViewString(name + ": " + instruction);
}
