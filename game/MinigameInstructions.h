// The line at the top of the screen naming the next minigame and its rule,
// e.g. "NORMAL: Swat the flies!".
#ifndef SWAT_MINIGAME_INSTRUCTIONS_H
#define SWAT_MINIGAME_INSTRUCTIONS_H

#include <string>

#include "ViewObject.h"

class MinigameInstructions : public vx::ViewObject {
 public:
  MinigameInstructions(const std::string &name, const std::string &instruction);
};

#endif // SWAT_MINIGAME_INSTRUCTIONS_H
