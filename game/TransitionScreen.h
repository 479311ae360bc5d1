// Runs a run of minigames: an intermission of 120 steps showing the next
// minigame's rule, then the minigame with its flies, swatter and time limit,
// judged after every step as won, going on or lost. A won minigame adds to the
// streak and leads to the next intermission; a lost one ends the run with the
// game-over screen.
#ifndef SWAT_TRANSITION_SCREEN_H
#define SWAT_TRANSITION_SCREEN_H

#include "Music.h"
#include "Sound.h"
#include "ViewObject.h"

class MinigameInstructions;
class TimeLeft;

class TransitionScreen : public vx::ViewObject {
 private:
  vx::Sound *m_p_intermission_sound;          // "intermission", or null.
  MinigameInstructions *m_p_instructions;     // The current rule line, null after a loss.
  TimeLeft *m_p_time_left;                    // Valid only while m_playing.
  int m_intermission_countdown;               // Steps left in the intermission.
  int m_minigame_count;                       // Minigames started in this run.
  bool m_playing;                             // In a minigame (else an intermission).
  int m_time_left;                            // Steps left in the running minigame.

  // Judges one step of the running minigame.
  void minigameStep();

  // Pauses every minigame's music.
  void pauseMusic();

 public:
  // Draws the first minigame of the run and starts its intermission.
  TransitionScreen();

  // Step events run the intermission or the minigame; returns 1 for them,
  // 0 for other events.
  int eventHandler(const vx::Event *p_e) override;

  // Draws the intermission picture rather than text.
  int draw() override;

  // Starts the current minigame: its music, time limit, flies and swatter.
  void startMinigame();

  // After a win or a survived time-up: the "point" sound, the minigame's
  // objects removed, and the intermission of a different minigame.
  void endMinigame();

  // Ends the run: the minigame's objects removed, the screen inactive and
  // hidden, and a game-over screen. Runs again in full when called twice.
  void loseGame();

  bool isPlaying() const;
  int getMinigameCount() const;
  int getTimeLeft() const;
  int getIntermissionCountdown() const;
  MinigameInstructions *getInstructions() const;
};

#endif // SWAT_TRANSITION_SCREEN_H
