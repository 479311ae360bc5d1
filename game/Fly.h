// A fly: wanders about the world at the current minigame's speed, bounces off
// the world's edges, changes direction every 30 to 60 steps and dies at the
// first swat. It is also the base of every other target of the swatter, which
// differ only in looks, type name and what a swat does to them.
#ifndef SWAT_FLY_H
#define SWAT_FLY_H

#include <string>

#include "Color.h"
#include "Object.h"

class Fly : public vx::Object {
 private:
  int m_direction_countdown; // Steps until the next change of direction.

  // 30 to 60 steps.
  static int directionSteps();

 protected:
  // Turns a new plain fly into a variant: its sprite, its type name, SOFT,
  // placed again with the variant's box and given a new velocity.
  void becomeVariant(const std::string &sprite_label, const std::string &type);

  // Whether the event is a mouse click (of any button).
  static bool isClick(const vx::Event *p_e);

  // A BURST of particles in the colour at the fly's position.
  void burst(vx::Color color) const;

  // Dies: a splat left behind when asked, the "splat" sound, a BURST in the
  // colour, and the fly marked for deletion; then, when the current
  // minigame's row says a death of this type loses, the run is lost.
  void perish(vx::Color color, bool leave_splat);

  // One more swat on a fly that takes `hits_to_kill`: the "splat" sound and a
  // green BURST, and at the last one the fly dies leaving a splat.
  void takeHit(int &hits, int hits_to_kill);

 public:
  // A plain fly near the middle of the world, moving.
  Fly();

  // Steps move the fly; a click kills it. 1 for those, 0 for other events.
  int eventHandler(const vx::Event *p_e) override;

  // Keeps the fly inside the world, bouncing it off the edges, and changes its
  // direction when its countdown runs out.
  void moveStep();

  // A random speed in the current minigame's range and a random direction,
  // never into an edge the fly stands on.
  void pickVelocity();

  // Moves the fly to a random spot near the middle of the world, sliding right
  // until its box overlaps no solid object.
  void placeNearCenter();

  // The plain fly's death: a splat and a red burst. In the minigames whose
  // row lists plain flies among the losing targets it loses the run.
  void die();
};

#endif // SWAT_FLY_H
