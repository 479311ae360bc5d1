/// \file
/// The input manager turns the window's keyboard, mouse and close events into
/// engine events and delivers them to the objects interested in "vx-keyboard"
/// and "vx-mouse".
/// When the game is shown in the terminal, the terminal's keys and mouse
/// reports give the same events. SIGINT, SIGTERM and SIGHUP end the game as
/// closing the window does.
#ifndef VX_INPUT_MANAGER_H
#define VX_INPUT_MANAGER_H

#include <memory>
#include <string>
#include <vector>

#include "EventKeyboard.h"
#include "EventMouse.h"
#include "InputSource.h"
#include "Manager.h"
#include "RecordFormat.h"

/// The window library stays out of this header: only the input source includes it.
namespace sf {
class Event;
} // namespace sf

namespace vx {

/// Turns the window's or terminal's input into keyboard and mouse events every step, and
/// delivers them to the objects registered for KEYBOARD_EVENT and MSE_EVENT.
class InputManager : public Manager {
 private:
  InputManager();
  // Whether the window system asked to close the window since start-up. The
  // const readers of the window's events note it as they see it.
  mutable bool m_close_requested;
  // Each player's pointer's last known position in view cells, and whether
  // there is one.
  mutable Vector m_mouse_position[MAX_PLAYERS];
  mutable bool m_mouse_known[MAX_PLAYERS];
  // Deliver the pointer's position as a move at the next chance (after a pause).
  mutable bool m_pointer_update;

  InputSource *m_p_source = nullptr;              // A replay's, instead of the display's.
  std::vector<InputListener *> m_listeners;       // Hear of every delivered event.
  mutable std::vector<std::unique_ptr<Event>> m_queued; // Handed in for the next step.

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

  /// Delivers a keyboard or mouse event to the interested objects, after the
  /// listeners (a recording) have heard of it. While a match reads the local
  /// devices, the event goes to the match instead (LockstepMatch).
  int onEvent(const Event *p_event) const;

  /// Delivers this step's input: the queued input (queueInput), then the
  /// display's events of this frame and its held mouse buttons and keys, each
  /// as an engine event. Nothing from the display when headless. A closed
  /// window sets game over. A source set by setSource (a replay) gives the
  /// step's input instead; a match delivers both players' input of the step
  /// (LockstepMatch), reading the local input through readInput.
  void getInput() const;

  /// Reads and delivers the input of this frame from the display (or the
  /// replay, or input queued by a bot), as getInput does without a match.
  void readInput() const;

  /// The engine keyboard event for a window key-pressed or key-released event,
  /// with the key translated and the action left undefined.
  EventKeyboard toEventKeyboard(const sf::Event &event) const;

  /// Takes the window's next event without delivering it. With `wait`, sleeps
  /// until one arrives (the window library checks every few milliseconds, so a
  /// long wait costs almost no processor time); without, returns
  /// NO_WINDOW_EVENT when nothing is queued. NO_WINDOW_EVENT also when there is
  /// no open window.
  WindowEvent nextWindowEvent(bool wait) const;

  /// The player's pointer's last known position in view cells: where it last
  /// moved or clicked, or where it was over the window when input was last
  /// read. False, with the position untouched, when none is known.
  bool getMousePosition(Vector &position, int player = 0) const;

  /// Notes a pointer position in view cells, for input read by other means.
  void setMousePosition(Vector position, int player = 0) const;

  /// For input sources: the player asked to close the display. The listeners
  /// hear of it, isCloseRequested() turns true and the game is over.
  void deliverClose() const;

  /// For input sources: where the pointer is over the display now, in view
  /// cells. Taken as the last known position unless a listener is attached
  /// (a recording knows the pointer only from delivered events, so that its
  /// replay knows it too).
  void notePointer(Vector position) const;

  /// For input sources: whether a mouse-move event with the pointer's current
  /// position was asked for (requestPointerUpdate); asking clears the request.
  bool takePointerUpdate() const;

  /// The source of the step's input instead of the display's own (a replay);
  /// null gives the display's back. The display is still asked for a close.
  void setSource(InputSource *p_source);

  /// Whether the step's input is the player's, from the display: false while
  /// another source (a replay) gives it, when nothing may wait for the player.
  bool isLive() const;

  /// Input for the next delivery, as if the player gave it (a bot, a demo):
  /// delivered before the display's own, and heard by the listeners like the
  /// player's. A keyboard or mouse event; others are ignored.
  void queueInput(const Event &event);

  ///@{
  /// Listeners hear of every delivered keyboard and mouse event and of a
  /// close, in the order they were added. Adding one twice adds it once.
  void addListener(InputListener *p_listener);
  void removeListener(InputListener *p_listener);
  ///@}

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
