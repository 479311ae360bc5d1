#include "MinigameInstructions.h"

MinigameInstructions::MinigameInstructions(const std::string &name,
                                           const std::string &instruction) {
  setType("MinigameInstructions");
  setLocation(vx::TOP_CENTER);
  setColor(vx::WHITE);
  setViewString(name + ": " + instruction);
}
