/// \file
/// An invisible object that freezes the whole game while the player takes a
/// break: a keyboard event for its pause key holds the game loop until any key
/// is pressed in the window. Closing the window while paused ends the game.
#ifndef VX_PAUSE_H
#define VX_PAUSE_H

#include "Object.h"

namespace vx {

/// Pauses the game when its key is pressed: the picture stands still with a pause box, sounds
/// and music hold, and any other key resumes. Made with new, owned by the world.
class Pause : public Object {
 private:
  int m_pause_key; // Keyboard::Key that pauses.

 public:
  /// A pause bound to pause_key, a Keyboard::Key value (F10 in Swat).
  explicit Pause(int pause_key);

  /// Pauses on any keyboard event of the pause key (press, held or release)
  /// and returns 1 once a key press resumes or the window is closed; 1 for other
  /// keys; 0 for other events, or when there is no window to wait on.
  int eventHandler(const Event *p_e) override;
};

/// Holds the game loop with the pause screen shown and the audio paused until
/// a key is pressed (or the window is closed, which sets game over). False,
/// with a log line, when there is no display to wait on.
bool pauseGame();

} // namespace vx

#endif // VX_PAUSE_H
