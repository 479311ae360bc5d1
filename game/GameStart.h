// The start screen: shows the title picture with looping music and waits for
// P (play) or Q (quit). During a run it stays in the world, inactive, until
// the game-over screen brings it back.
#ifndef SWAT_GAME_START_H
#define SWAT_GAME_START_H

#include "GameAssets.h"
#include "Music.h"
#include "ViewObject.h"

class GameStart : public vx::ViewObject {
 private:
  vx::Music *m_p_music; // "start music", or null when it was not loaded.

 public:
  // The start screen in the middle of the view, its music playing.
  GameStart();

  // Keyboard: P starts a run, Q ends the program, other keys do nothing;
  // returns 1. Other events return 0.
  int eventHandler(const vx::Event *p_e) override;

  // Draws the title picture rather than text.
  int draw() override;

  // Makes the start screen active again, with its music looping.
  void comeBack();
};

#endif // SWAT_GAME_START_H
