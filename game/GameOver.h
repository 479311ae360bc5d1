// The game-over screen: plays its animation once with the "game over" sound,
// then removes itself, clearing what is left of the run and bringing the
// start screen back.
#ifndef SWAT_GAME_OVER_H
#define SWAT_GAME_OVER_H

#include "ViewObject.h"

class ScoreLine;

class GameOver : public vx::ViewObject {
 private:
  int m_time_to_live; // Steps left before the screen removes itself.
  ScoreLine *m_p_line; // The run's streak and whether it is a new best, or null.

 public:
  // Lasts one full play of the "gameover" sprite (0 steps without it). The
  // first game-over screen of a run records the run's streak as the best
  // when it beats it, and shows the streak under the picture.
  GameOver();

  // Removes the streak display and any fly left, and makes the start screen
  // active again with its music. While the world is shutting down it touches
  // nothing: the other objects are being deleted too.
  ~GameOver() override;

  // Step events count down the screen's life; returns 1 for them, else 0.
  int eventHandler(const vx::Event *p_e) override;

  // Draws the picture rather than text.
  int draw() override;

  int getTimeToLive() const;
};

#endif // SWAT_GAME_OVER_H
