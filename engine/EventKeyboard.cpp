#include "EventKeyboard.h"

namespace vx {

std::string keyToString(int key) {
  if (key >= Keyboard::A && key <= Keyboard::Z)
    return std::string(1, static_cast<char>('A' + (key - Keyboard::A)));
  if (key >= Keyboard::NUM1 && key <= Keyboard::NUM9)
    return std::string(1, static_cast<char>('1' + (key - Keyboard::NUM1)));
  switch (key) {
  case Keyboard::SPACE: return " ";
  case Keyboard::MINUS: return "-";
  case Keyboard::PLUS: return "+";
  case Keyboard::TILDE: return "~";
  case Keyboard::PERIOD: return ".";
  case Keyboard::COMMA: return ",";
  case Keyboard::SLASH: return "/";
  case Keyboard::EQUALS: return "=";
  case Keyboard::BACKSLASH: return "\\";
  case Keyboard::MULTIPLY: return "*";
  case Keyboard::QUOTE: return "'";
  case Keyboard::SEMICOLON: return ";";
  case Keyboard::NUM0: return "0";
  case Keyboard::LEFTBRACKET: return "[";
  case Keyboard::RIGHTBRACKET: return "]";
  case Keyboard::BACKQUOTE: return "`";
  default: return "";
  }
}

EventKeyboard::EventKeyboard()
    : Event(KEYBOARD_EVENT), m_key_val(Keyboard::UNDEFINED_KEY),
      m_keyboard_action(UNDEFINED_KEYBOARD_ACTION), m_player(0) {}

void EventKeyboard::setKey(Keyboard::Key new_key) { m_key_val = new_key; }

Keyboard::Key EventKeyboard::getKey() const { return m_key_val; }

void EventKeyboard::setKeyboardAction(EventKeyboardAction new_action) { m_keyboard_action = new_action; }

EventKeyboardAction EventKeyboard::getKeyboardAction() const { return m_keyboard_action; }

void EventKeyboard::setPlayer(int player) { m_player = player; }

int EventKeyboard::getPlayer() const { return m_player; }

} // namespace vx
