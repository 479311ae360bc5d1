/// \file
/// Raised by the input manager for key presses, releases and held keys.
#ifndef VX_EVENT_KEYBOARD_H
#define VX_EVENT_KEYBOARD_H

#include <string>

#include "Event.h"

namespace vx {

/// The type of EventKeyboard, "vx-keyboard".
const std::string KEYBOARD_EVENT = "vx-keyboard";

/// What a key did.
enum EventKeyboardAction : int {
  UNDEFINED_KEYBOARD_ACTION = -1, ///< Not set.
  KEY_PRESSED = 0,  ///< The key went down.
  KEY_RELEASED = 1, ///< The key went up.
  KEY_DOWN = 2,     ///< The key is held; raised every frame while it is.
};

namespace Keyboard {

/// The engine's own key codes; the input manager translates the window's keys into these.
/// Each name is its key (NUM0 to NUM9 the digits of the main keyboard); 73 is no key.
enum Key : int {
  UNDEFINED_KEY = -1, ///< A key the engine has no code for (Home, End, Page Up...).
  SPACE = 0, RETURN, ESCAPE, TAB, LEFTARROW, RIGHTARROW, UPARROW, DOWNARROW, PAUSE,
  MINUS, PLUS, TILDE, PERIOD, COMMA, SLASH, EQUALS, BACKSLASH, MULTIPLY, QUOTE, SEMICOLON,
  LEFTCONTROL, RIGHTCONTROL, LEFTSHIFT, RIGHTSHIFT,
  F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
  A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
  NUM1, NUM2, NUM3, NUM4, NUM5, NUM6, NUM7, NUM8, NUM9, NUM0,
  BACKSPACE,
  LEFTBRACKET = 74, RIGHTBRACKET, BACKQUOTE,
};

} // namespace Keyboard

/// The key's display text ("A", "1", "~", ...), or "" for keys without one and
/// for values that are no key.
std::string keyToString(int key);

/// A key of the window or terminal, sent by the input manager to the objects registered for
/// KEYBOARD_EVENT.
class EventKeyboard : public Event {
 private:
  Keyboard::Key m_key_val;                // Which key.
  EventKeyboardAction m_keyboard_action;  // What happened to it.
  int m_player;                           // Who gave it: 0 alone; in a match the host 0, the guest 1.

 public:
  /// Undefined key and action.
  EventKeyboard();

  /// Sets the key.
  void setKey(Keyboard::Key new_key);
  /// The key; Keyboard::UNDEFINED_KEY (-1) for keys the engine has no code for.
  Keyboard::Key getKey() const;
  /// Sets the action.
  void setKeyboardAction(EventKeyboardAction new_action);
  /// Pressed, released, or held down (sent every step while held).
  EventKeyboardAction getKeyboardAction() const;
  ///@{
  /// The player whose key it is in a network match: 0 the host (and every key without a match),
  /// 1 the guest.
  void setPlayer(int player);
  int getPlayer() const;
  ///@}
};

} // namespace vx

#endif // VX_EVENT_KEYBOARD_H
