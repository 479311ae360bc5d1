// A computer player for Swat (swat --bot): it plays through the same input a
// person gives, a pointer that wanders and clicks at flies, handed to the
// input manager as the local player's. So it can stand in for either player
// of a match, and a record of its game replays like any other. It keeps out
// of the world (no id, not hashed) and draws its choices from a generator of
// its own, never from randomInt(), which belongs to the shared world.
#ifndef SWAT_AUTO_PLAYER_H
#define SWAT_AUTO_PLAYER_H

#include <random>

#include "Object.h"
#include "Vector.h"

class AutoPlayer : public vx::Object {
 private:
  int m_player;             // The local player it plays for.
  int m_steps;
  std::minstd_rand m_random;
  vx::Vector m_pointer;     // Where its pointer is, view cells.

  void move(vx::Vector where, bool click);
  void act();

 public:
  explicit AutoPlayer(int player);
  ~AutoPlayer() override;

  // Each step: starts a run from the start screen (the host's only, so one
  // press starts it), and during a minigame moves toward and clicks at a
  // target now and then.
  int eventHandler(const vx::Event *p_e) override;
};

#endif // SWAT_AUTO_PLAYER_H
