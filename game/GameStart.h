// The start screen: shows the title picture with looping music and waits for
// P (play) or Q (quit). During a run it stays in the world, inactive, until
// the game-over screen brings it back.
#ifndef SWAT_GAME_START_H
#define SWAT_GAME_START_H

#include "GameAssets.h"
#include "Music.h"
#include "ViewObject.h"

class ScoreLine;

class GameStart : public vx::ViewObject {
 private:
  vx::Music *m_p_music; // "start music", or null when it was not loaded.
  ScoreLine *m_p_best;  // The best streak so far, shown under the picture.

 public:
  // The start screen in the middle of the view, its music playing.
  GameStart();

  // A key pressed: P starts a run, Q ends the program, other keys do nothing;
  // returns 1 for keyboard events, 0 for others. Releases and held keys do
  // nothing, so the P or Q that skipped the splash does not act again here.
  int eventHandler(const vx::Event *p_e) override;

  // Draws the title picture rather than text.
  int draw() override;

  // Makes the start screen active again, with its music looping and the best
  // streak read again.
  void comeBack();
};

#endif // SWAT_GAME_START_H
