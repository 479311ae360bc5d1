/// \file
/// The input manager turns the window's keyboard, mouse and close events into
/// engine events and delivers them to the objects interested in "vx-keyboard"
/// and "vx-mouse".
/// When the game is shown in the terminal, the terminal's keys and mouse
/// reports give the same events. SIGINT, SIGTERM and SIGHUP end the game as
/// closing the window does.
#ifndef VX_INPUT_MANAGER_H
#define VX_INPUT_MANAGER_H

#include <string>
#include <vector>

#include "EventKeyboard.h"
#include "EventMouse.h"
#include "Manager.h"

/// The window library stays out of this header: only the input source includes it.
namespace sf {
class Event;
} // namespace sf

namespace vx {

/// What the window reported, for waits outside the game loop.
enum WindowEvent : int {
  NO_WINDOW_EVENT = -1,   ///< Nothing queued, or no open window.
  WINDOW_CLOSED = 0,      ///< The window system asked to close the window.
  WINDOW_KEY_PRESSED = 1, ///< Any key went down.
  OTHER_WINDOW_EVENT = 2, ///< Anything else (releases, mouse, focus).
  WINDOW_RESIZED = 3,     ///< The window changed size; the display has followed.
};

/// Turns the window's or terminal's input into keyboard and mouse events every step, and
/// delivers them to the objects registered for KEYBOARD_EVENT and MSE_EVENT.
class InputManager : public Manager {
 private:
  InputManager();
  // Whether the window system asked to close the window since start-up. The
  // const readers of the window's events note it as they see it.
  mutable bool m_close_requested;
  // The pointer's last known position in view cells, and whether there is one.
  mutable Vector m_mouse_position;
  mutable bool m_mouse_known;
  // Deliver the pointer's position as a move at the next chance (after a pause).
  mutable bool m_pointer_update;

  // Delivers a mouse event at a window pixel, noting the position.
  void deliverMouse(EventMouseAction action, Mouse::Button button, int x, int y) const;

 public:
  ///@{
  /// Not copyable: a singleton.
  InputManager(const InputManager &) = delete;
  InputManager &operator=(const InputManager &) = delete;
  ///@}

  /// The one input manager.
  static InputManager &getInstance();

  /// Turns the window's key repeat off (unless headless). Needs the display
  /// manager started first. Returns 0 or -1.
  int startUp() override;

  /// Turns key repeat back on.
  void shutDown() override;

  /// Accepts exactly "vx-keyboard" and "vx-mouse".
  bool isValid(std::string event_type) const override;

  /// Delivers a keyboard or mouse event to the interested objects, and notes
  /// it in the record when the game is being recorded.
  int onEvent(const Event *p_event) const;

  /// Reads the window's events of this frame, then samples the held mouse
  /// buttons and keys, and delivers each as an engine event. Does nothing when
  /// headless. A closed window sets game over. A replay delivers the recorded
  /// input instead (Recorder).
  void getInput() const;

  /// The engine keyboard event for a window key-pressed or key-released event,
  /// with the key translated and the action left undefined.
  EventKeyboard toEventKeyboard(const sf::Event &event) const;

  /// Takes the window's next event without delivering it. With `wait`, sleeps
  /// until one arrives (the window library checks every few milliseconds, so a
  /// long wait costs almost no processor time); without, returns
  /// NO_WINDOW_EVENT when nothing is queued. NO_WINDOW_EVENT also when there is
  /// no open window.
  WindowEvent nextWindowEvent(bool wait) const;

  /// The pointer's last known position in view cells: where it last moved or
  /// clicked, or where it was over the window when input was last read. False,
  /// with the position untouched, when none is known.
  bool getMousePosition(Vector &position) const;

  /// Notes a pointer position in view cells, for input read by other means.
  void setMousePosition(Vector position) const;

  /// Asks for one mouse-move event with the pointer's current position, sent
  /// when the input is read next: whatever follows the pointer catches up
  /// with motion that was not delivered (while the game was paused).
  void requestPointerUpdate() const;

  /// Whether the player asked to close the window since start-up. The game
  /// over a close sets is cleared by the next run, so a program that runs the
  /// loop more than once (a splash screen, then the game) asks this between runs.
  bool isCloseRequested() const;
};

/// The keys that give KEY_DOWN every frame while held, in the order they are
/// sampled; a display other than the window samples its held keys in this order too.
const std::vector<Keyboard::Key> &sampledKeys();

} // namespace vx

#endif // VX_INPUT_MANAGER_H
