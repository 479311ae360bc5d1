// A player's swatter: follows that player's mouse, and a click of any button
// passes the click on to every fly under the swatter's box. In a game of two
// each player's swatter has its own colour.
#ifndef SWAT_SWATTER_H
#define SWAT_SWATTER_H

#include "Object.h"

class Swatter : public vx::Object {
 private:
  int m_player; // Whose mouse moves it.

 public:
  // A SPECTRAL swatter drawn over everything, under the player's pointer (in
  // the middle of the world when the pointer's place is not known).
  explicit Swatter(int player = 0);

  // Alone, the sprite; in a game of two, the sprite's shape in the player's colour.
  int draw() override;

  // A click of its player moves the swatter where the mouse is and swats
  // there; a move moves it there. 1 for those, 0 for everything else (held
  // buttons and the other player's mouse included).
  int eventHandler(const vx::Event *p_e) override;
};

#endif // SWAT_SWATTER_H
