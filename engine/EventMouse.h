/// \file
/// Raised by the input manager for mouse clicks, held buttons and movement.
#ifndef VX_EVENT_MOUSE_H
#define VX_EVENT_MOUSE_H

#include "Event.h"
#include "Vector.h"

namespace vx {

const std::string MSE_EVENT = "vx-mouse";

enum EventMouseAction : int {
  UNDEFINED_MOUSE_ACTION = -1,
  CLICKED = 0, ///< A button went down.
  PRESSED = 1, ///< A button is held; raised every frame while it is.
  MOVED = 2,   ///< The pointer moved (no button).
};

namespace Mouse {

enum Button : int {
  UNDEFINED_MOUSE_BUTTON = -1,
  LEFT = 0,
  RIGHT = 1,
  MIDDLE = 2,
};

} // namespace Mouse

class EventMouse : public Event {
 private:
  EventMouseAction m_mouse_action; // What happened.
  Mouse::Button m_mouse_button;    // Which button.
  Vector m_mouse_xy;               // Pointer position in view cells.

 public:
  /// Undefined action and button, position (0,0).
  EventMouse();

  void setMouseAction(EventMouseAction new_action);
  EventMouseAction getMouseAction() const;
  void setMouseButton(Mouse::Button new_button);
  Mouse::Button getMouseButton() const;
  void setMousePosition(Vector new_position);
  Vector getMousePosition() const;
};

} // namespace vx

#endif // VX_EVENT_MOUSE_H
