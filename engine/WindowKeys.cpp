#include "WindowKeys.h"

#include "InputManager.h"
#include "LogManager.h"

namespace vx {

namespace {

// One entry of the key translation table.
struct KeyTranslation {
  sf::Keyboard::Key library_key;
  Keyboard::Key key;
  bool held; // Also sampled every frame for KEY_DOWN.
};

// The window's keys the engine knows, in the order held keys are sampled;
// F11 and F12 come last and are translated but never sampled.
const KeyTranslation KEY_TABLE[] = {
    {sf::Keyboard::Up, Keyboard::UPARROW, true},
    {sf::Keyboard::Down, Keyboard::DOWNARROW, true},
    {sf::Keyboard::Left, Keyboard::LEFTARROW, true},
    {sf::Keyboard::Right, Keyboard::RIGHTARROW, true},
    {sf::Keyboard::Space, Keyboard::SPACE, true},
    {sf::Keyboard::Enter, Keyboard::RETURN, true},
    {sf::Keyboard::Tab, Keyboard::TAB, true},
    {sf::Keyboard::Escape, Keyboard::ESCAPE, true},
    {sf::Keyboard::Pause, Keyboard::PAUSE, true},
    {sf::Keyboard::Subtract, Keyboard::MINUS, true},
    {sf::Keyboard::Add, Keyboard::PLUS, true},
    {sf::Keyboard::Tilde, Keyboard::TILDE, true},
    {sf::Keyboard::Period, Keyboard::PERIOD, true},
    {sf::Keyboard::Comma, Keyboard::COMMA, true},
    {sf::Keyboard::Slash, Keyboard::SLASH, true},
    {sf::Keyboard::Equal, Keyboard::EQUALS, true},
    {sf::Keyboard::Backslash, Keyboard::BACKSLASH, true},
    {sf::Keyboard::Multiply, Keyboard::MULTIPLY, true},
    {sf::Keyboard::Quote, Keyboard::QUOTE, true},
    {sf::Keyboard::LBracket, Keyboard::LEFTBRACKET, true},
    {sf::Keyboard::RBracket, Keyboard::RIGHTBRACKET, true},
    {sf::Keyboard::Semicolon, Keyboard::SEMICOLON, true},
    {sf::Keyboard::LControl, Keyboard::LEFTCONTROL, true},
    {sf::Keyboard::RControl, Keyboard::RIGHTCONTROL, true},
    {sf::Keyboard::LShift, Keyboard::LEFTSHIFT, true},
    {sf::Keyboard::RShift, Keyboard::RIGHTSHIFT, true},
    {sf::Keyboard::F1, Keyboard::F1, true},
    {sf::Keyboard::F2, Keyboard::F2, true},
    {sf::Keyboard::F3, Keyboard::F3, true},
    {sf::Keyboard::F4, Keyboard::F4, true},
    {sf::Keyboard::F5, Keyboard::F5, true},
    {sf::Keyboard::F6, Keyboard::F6, true},
    {sf::Keyboard::F7, Keyboard::F7, true},
    {sf::Keyboard::F8, Keyboard::F8, true},
    {sf::Keyboard::F9, Keyboard::F9, true},
    {sf::Keyboard::F10, Keyboard::F10, true},
    {sf::Keyboard::A, Keyboard::A, true},
    {sf::Keyboard::B, Keyboard::B, true},
    {sf::Keyboard::C, Keyboard::C, true},
    {sf::Keyboard::D, Keyboard::D, true},
    {sf::Keyboard::E, Keyboard::E, true},
    {sf::Keyboard::F, Keyboard::F, true},
    {sf::Keyboard::G, Keyboard::G, true},
    {sf::Keyboard::H, Keyboard::H, true},
    {sf::Keyboard::I, Keyboard::I, true},
    {sf::Keyboard::J, Keyboard::J, true},
    {sf::Keyboard::K, Keyboard::K, true},
    {sf::Keyboard::L, Keyboard::L, true},
    {sf::Keyboard::M, Keyboard::M, true},
    {sf::Keyboard::N, Keyboard::N, true},
    {sf::Keyboard::O, Keyboard::O, true},
    {sf::Keyboard::P, Keyboard::P, true},
    {sf::Keyboard::Q, Keyboard::Q, true},
    {sf::Keyboard::R, Keyboard::R, true},
    {sf::Keyboard::S, Keyboard::S, true},
    {sf::Keyboard::T, Keyboard::T, true},
    {sf::Keyboard::U, Keyboard::U, true},
    {sf::Keyboard::V, Keyboard::V, true},
    {sf::Keyboard::W, Keyboard::W, true},
    {sf::Keyboard::X, Keyboard::X, true},
    {sf::Keyboard::Y, Keyboard::Y, true},
    {sf::Keyboard::Z, Keyboard::Z, true},
    {sf::Keyboard::Num1, Keyboard::NUM1, true},
    {sf::Keyboard::Num2, Keyboard::NUM2, true},
    {sf::Keyboard::Num3, Keyboard::NUM3, true},
    {sf::Keyboard::Num4, Keyboard::NUM4, true},
    {sf::Keyboard::Num5, Keyboard::NUM5, true},
    {sf::Keyboard::Num6, Keyboard::NUM6, true},
    {sf::Keyboard::Num7, Keyboard::NUM7, true},
    {sf::Keyboard::Num8, Keyboard::NUM8, true},
    {sf::Keyboard::Num9, Keyboard::NUM9, true},
    {sf::Keyboard::Num0, Keyboard::NUM0, true},
    {sf::Keyboard::Backspace, Keyboard::BACKSPACE, true},
    {sf::Keyboard::F11, Keyboard::F11, false},
    {sf::Keyboard::F12, Keyboard::F12, false},
};

} // namespace

// The engine key for a window key, or UNDEFINED_KEY.
Keyboard::Key translateKey(sf::Keyboard::Key library_key) {
  for (const KeyTranslation &entry : KEY_TABLE) {
    if (entry.library_key == library_key)
      return entry.key;
  }
  return Keyboard::UNDEFINED_KEY;
}

// A readable name of a window key, for log lines.
std::string describeKey(sf::Keyboard::Key library_key) {
  const int code = static_cast<int>(library_key);
  if (code >= sf::Keyboard::A && code <= sf::Keyboard::Z)
    return std::string(1, static_cast<char>('A' + (code - sf::Keyboard::A)));
  if (code >= sf::Keyboard::Num0 && code <= sf::Keyboard::Num9)
    return std::string(1, static_cast<char>('0' + (code - sf::Keyboard::Num0)));
  if (code >= sf::Keyboard::Numpad0 && code <= sf::Keyboard::Numpad9)
    return "Numpad " + std::to_string(code - sf::Keyboard::Numpad0);
  if (code >= sf::Keyboard::F1 && code <= sf::Keyboard::F15)
    return "F" + std::to_string(code - sf::Keyboard::F1 + 1);
  switch (library_key) {
    case sf::Keyboard::Escape: return "Escape";
    case sf::Keyboard::LControl: return "Left Control";
    case sf::Keyboard::LShift: return "Left Shift";
    case sf::Keyboard::LAlt: return "Left Alt";
    case sf::Keyboard::LSystem: return "Left System";
    case sf::Keyboard::RControl: return "Right Control";
    case sf::Keyboard::RShift: return "Right Shift";
    case sf::Keyboard::RAlt: return "Right Alt";
    case sf::Keyboard::RSystem: return "Right System";
    case sf::Keyboard::Menu: return "Menu";
    case sf::Keyboard::LBracket: return "[";
    case sf::Keyboard::RBracket: return "]";
    case sf::Keyboard::Semicolon: return ";";
    case sf::Keyboard::Comma: return ",";
    case sf::Keyboard::Period: return ".";
    case sf::Keyboard::Quote: return "'";
    case sf::Keyboard::Slash: return "/";
    case sf::Keyboard::Backslash: return "\\";
    case sf::Keyboard::Tilde: return "Grave";
    case sf::Keyboard::Equal: return "=";
    case sf::Keyboard::Hyphen: return "-";
    case sf::Keyboard::Space: return "Space";
    case sf::Keyboard::Enter: return "Enter";
    case sf::Keyboard::Backspace: return "Backspace";
    case sf::Keyboard::Tab: return "Tab";
    case sf::Keyboard::PageUp: return "Page Up";
    case sf::Keyboard::PageDown: return "Page Down";
    case sf::Keyboard::End: return "End";
    case sf::Keyboard::Home: return "Home";
    case sf::Keyboard::Insert: return "Insert";
    case sf::Keyboard::Delete: return "Delete";
    case sf::Keyboard::Add: return "Numpad +";
    case sf::Keyboard::Subtract: return "Numpad -";
    case sf::Keyboard::Multiply: return "Numpad *";
    case sf::Keyboard::Divide: return "Numpad /";
    case sf::Keyboard::Left: return "Left";
    case sf::Keyboard::Right: return "Right";
    case sf::Keyboard::Up: return "Up";
    case sf::Keyboard::Down: return "Down";
    case sf::Keyboard::Pause: return "Pause";
    default: return "Unknown";
  }
}

// The engine button for a window mouse button, or UNDEFINED_MOUSE_BUTTON.
Mouse::Button translateButton(sf::Mouse::Button library_button) {
  switch (library_button) {
    case sf::Mouse::Left: return Mouse::LEFT;
    case sf::Mouse::Right: return Mouse::RIGHT;
    case sf::Mouse::Middle: return Mouse::MIDDLE;
    default: return Mouse::UNDEFINED_MOUSE_BUTTON;
  }
}

const std::vector<Keyboard::Key> &sampledKeys() {
  static const std::vector<Keyboard::Key> keys = [] {
    std::vector<Keyboard::Key> held;
    for (const KeyTranslation &entry : KEY_TABLE)
      if (entry.held)
        held.push_back(entry.key);
    return held;
  }();
  return keys;
}

void heldKeys(std::vector<Keyboard::Key> &keys) {
  for (const KeyTranslation &entry : KEY_TABLE)
    if (entry.held && sf::Keyboard::isKeyPressed(entry.library_key))
      keys.push_back(entry.key);
}

EventKeyboard windowKeyboardEvent(const sf::Event &event) {
  EventKeyboard keyboard;
  const LogManager &log_manager = LogManager::getInstance();
  if (event.type != sf::Event::KeyPressed && event.type != sf::Event::KeyReleased) {
    log_manager.writeLog("toEventKeyboard(): Error! Called with non-keyboard event.");
    return keyboard;
  }

  const sf::Keyboard::Key library_key = event.key.code;
  const Keyboard::Key key = translateKey(library_key);
  if (key == Keyboard::UNDEFINED_KEY) {
    log_manager.writeLog(1, "windowKeyboardEvent(): Warning key '%s' not handled.",
                         describeKey(library_key).c_str());
  }
  keyboard.setKey(key);
  log_manager.writeLog(15, "windowKeyboardEvent(): Keyboard event '%s' (%s)",
                       keyToString(key).c_str(), describeKey(library_key).c_str());
  return keyboard;
}

} // namespace vx
