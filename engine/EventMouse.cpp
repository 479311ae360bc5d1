#include "EventMouse.h"

namespace vx {

EventMouse::EventMouse()
    : Event(MSE_EVENT), m_mouse_action(UNDEFINED_MOUSE_ACTION),
      m_mouse_button(Mouse::UNDEFINED_MOUSE_BUTTON), m_mouse_xy(), m_player(0) {}

void EventMouse::setMouseAction(EventMouseAction new_action) { m_mouse_action = new_action; }

EventMouseAction EventMouse::getMouseAction() const { return m_mouse_action; }

void EventMouse::setMouseButton(Mouse::Button new_button) { m_mouse_button = new_button; }

Mouse::Button EventMouse::getMouseButton() const { return m_mouse_button; }

void EventMouse::setMousePosition(Vector new_position) { m_mouse_xy = new_position; }

Vector EventMouse::getMousePosition() const { return m_mouse_xy; }

void EventMouse::setPlayer(int player) { m_player = player; }

int EventMouse::getPlayer() const { return m_player; }

} // namespace vx
