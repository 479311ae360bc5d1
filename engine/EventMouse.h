/// \file
/// Raised by the input manager for mouse clicks, held buttons and movement.
#ifndef VX_EVENT_MOUSE_H
#define VX_EVENT_MOUSE_H

#include "Event.h"
#include "Vector.h"

namespace vx {

/// The type of EventMouse, "vx-mouse".
const std::string MSE_EVENT = "vx-mouse";

/// What the mouse did.
enum EventMouseAction : int {
  UNDEFINED_MOUSE_ACTION = -1, ///< Not set.
  CLICKED = 0, ///< A button went down.
  PRESSED = 1, ///< A button is held; raised every frame while it is.
  MOVED = 2,   ///< The pointer moved (no button).
};

namespace Mouse {

/// The mouse buttons.
enum Button : int {
  UNDEFINED_MOUSE_BUTTON = -1, ///< No button (a move).
  LEFT = 0, ///< The left button.
  RIGHT = 1, ///< The right button.
  MIDDLE = 2, ///< The middle button.
};

} // namespace Mouse

/// The mouse over the window or terminal, sent by the input manager to the objects registered
/// for MSE_EVENT.
class EventMouse : public Event {
 private:
  EventMouseAction m_mouse_action; // What happened.
  Mouse::Button m_mouse_button;    // Which button.
  Vector m_mouse_xy;               // Pointer position in view cells.
  int m_player;                    // Who gave it: 0 alone; in a match the host 0, the guest 1.

 public:
  /// Undefined action and button, position (0,0).
  EventMouse();

  /// Sets the action.
  void setMouseAction(EventMouseAction new_action);
  /// Clicked, pressed (held) or moved.
  EventMouseAction getMouseAction() const;
  /// Sets the button.
  void setMouseButton(Mouse::Button new_button);
  /// The button; Mouse::UNDEFINED_MOUSE_BUTTON (-1) when moved without one.
  Mouse::Button getMouseButton() const;
  /// Sets the position, view cells.
  void setMousePosition(Vector new_position);
  /// The pointer's position in view cells (viewToWorld gives world cells).
  Vector getMousePosition() const;
  ///@{
  /// The player whose mouse it is in a network match: 0 the host (and every mouse without a
  /// match), 1 the guest.
  void setPlayer(int player);
  int getPlayer() const;
  ///@}
};

} // namespace vx

#endif // VX_EVENT_MOUSE_H
