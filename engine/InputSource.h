/// \file
/// Where a step's keyboard and mouse input comes from, and who hears of it.
///
/// An input source is the live window, the live terminal, a replayed record or
/// a queue of scripted input (a bot, a demo): the input manager asks one source
/// a step for its input and delivers what it hands over to the objects
/// interested in "vx-keyboard" and "vx-mouse". Every delivered event, whatever
/// its source, then goes to the input listeners (the recorder is one).
#ifndef VX_INPUT_SOURCE_H
#define VX_INPUT_SOURCE_H

namespace vx {

class Event;
class InputManager;

/// What a display reported, for waits outside the game loop.
enum WindowEvent : int {
  NO_WINDOW_EVENT = -1,   ///< Nothing queued, or no open window.
  WINDOW_CLOSED = 0,      ///< The window system asked to close the window.
  WINDOW_KEY_PRESSED = 1, ///< Any key went down.
  OTHER_WINDOW_EVENT = 2, ///< Anything else (releases, mouse, focus).
  WINDOW_RESIZED = 3,     ///< The window changed size; the display has followed.
};

/// Where a step's keyboard and mouse input comes from: a display, a replayed record or queued
/// input. The input manager holds a plain pointer to it; whoever set it owns it.
class InputSource {
 public:
  /// Nothing to free.
  virtual ~InputSource() = default;

  ///@{
  /// Readies the source when the input manager starts (a window turns its key
  /// repeat off), and undoes it when it stops. 0, or -1 with a log line.
  virtual int startInput() { return 0; }
  virtual void stopInput() {}
  ///@}

  /// Hands this step's input to the input manager, in this order: what
  /// arrived since the last step (key presses and releases, mouse moves and
  /// clicks, each through InputManager::onEvent, positions in view cells; a
  /// request to close through InputManager::deliverClose, after which nothing
  /// more is handed over), then one PRESSED mouse event per held button (left,
  /// right, middle) and one KEY_DOWN per held key in sampledKeys() order.
  /// A resize is followed by the display itself (DisplayManager::resize).
  virtual void deliverInput(const InputManager &input_manager) = 0;

  /// Takes the next event without delivering it, for waits outside the game
  /// loop (pause). With `wait`, sleeps until one arrives or a stop signal
  /// does, without a busy poll; without, NO_WINDOW_EVENT when nothing is
  /// queued. NO_WINDOW_EVENT also when there is nothing to wait on.
  virtual WindowEvent nextEvent(bool wait) = 0;
};

/// Hears of every keyboard and mouse event delivered, and of a close.
class InputListener {
 public:
  /// Nothing to free.
  virtual ~InputListener() = default;

  /// A keyboard or mouse event is being delivered.
  virtual void onInput(const Event &event) = 0;

  /// The player asked to close the display; the game is ending.
  virtual void onClose() = 0;
};

} // namespace vx

#endif // VX_INPUT_SOURCE_H
