/// \file
/// Starts the engine, runs the fixed-rate game loop and shuts the engine down.
#ifndef VX_GAME_MANAGER_H
#define VX_GAME_MANAGER_H

#include "Manager.h"

namespace vx {

/// The engine's version.
const float VEXLO_VERSION = 4.25f;

/// Starts and stops the whole engine and runs the game loop: one step every frame time, in
/// which objects get their step event, input is read, the world moves and is drawn, and the
/// loop sleeps out the rest of the frame.
class GameManager : public Manager {
 private:
  GameManager();

  bool m_game_over;  // When true, the loop ends after the current iteration.
  int m_frame_time;  // Target duration of one iteration, milliseconds.
  int m_step_count;  // Completed loop iterations since run() began.
  bool (*m_p_hold)(); // While set, called before each step until it returns false.

  // Sleeps out a hold asked for during the last step, looking again every
  // slice of time, until it lets go or the game is over.
  void waitWhileHeld();

  // Seeds the engine's random sequence from the configuration: 0 means the
  // time, -1 leaves it unseeded.
  void seedGenerator() const;

 public:
  /// The one game manager.
  static GameManager &getInstance();

  /// Starts every engine manager in order. 0, or -1 with the managers started
  /// so far left running (shutDown() stops them).
  int startUp() override;

  /// Stops the started managers in reverse order, then the log.
  void shutDown() override;

  /// Runs the game loop until game over.
  void run();

  /// Ends the game loop after the current step (false cancels).
  void setGameOver(bool game_over = true);
  /// Whether the loop ends after this step.
  bool getGameOver() const;
  /// The target duration of a step, milliseconds.
  int getFrameTime() const;
  /// The steps completed since run() began.
  int getStepCount() const;

  /// Holds the loop before its next step until `p_still_held` returns false: the loop
  /// sleeps a slice of time between calls to it, and no step runs meanwhile. The browser
  /// pauses so, since its page cannot wait inside a step. Null lets go.
  void hold(bool (*p_still_held)());
  /// Whether a hold keeps the loop from its next step.
  bool isHeld() const;

  /// Accepts only "vx-step".
  bool isValid(std::string event_type) const override;
};

} // namespace vx

#endif // VX_GAME_MANAGER_H
