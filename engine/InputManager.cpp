#include "InputManager.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>
#include <SFML/System/Sleep.hpp>

#include "Config.h"
#include "DisplayManager.h"
#include "GameManager.h"
#include "LogManager.h"
#include "Recorder.h"
#include "StopSignals.h"
#include "WindowLoss.h"
#include "TerminalSession.h"

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

// A mouse event at a pixel position of the window, converted to view cells
// through the grid's place in the window.
EventMouse mouseEvent(EventMouseAction action, Mouse::Button button, int x, int y) {
  EventMouse event;
  event.setMouseAction(action);
  event.setMouseButton(button);
  event.setMousePosition(DisplayManager::getInstance().windowToView(
      Vector(static_cast<float>(x), static_cast<float>(y))));
  return event;
}

// Whether a pixel position lies in the window.
bool inWindow(const sf::RenderWindow &window, sf::Vector2i pixel) {
  const sf::Vector2u size = window.getSize();
  return pixel.x >= 0 && pixel.y >= 0 && static_cast<unsigned int>(pixel.x) < size.x &&
         static_cast<unsigned int>(pixel.y) < size.y;
}

} // namespace

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

InputManager::InputManager()
    : m_close_requested(false), m_mouse_known(false), m_pointer_update(false) {
  setType("InputManager");
}

InputManager &InputManager::getInstance() {
  static InputManager input_manager;
  return input_manager;
}

int InputManager::startUp() {
  if (isStarted())
    return warnAlreadyStarted(*this);

  m_close_requested = false;
  m_mouse_known = false;
  m_pointer_update = false;
  const LogManager &log_manager = LogManager::getInstance();
  // SIGINT, SIGTERM and SIGHUP end the game as closing the window does.
  installStopSignals();
  if (Config::getInstance().getHeadless()) {
    log_manager.writeLog(1, "InputManager::startUp(): no input in headless mode.");
  } else if (TerminalSession::getInstance().isOpen()) {
    log_manager.writeLog(2, "InputManager::startUp(): input from the terminal.");
  } else {
    const DisplayManager &display_manager = DisplayManager::getInstance();
    if (!display_manager.isStarted()) {
      log_manager.writeLog("InputManager::startUp(): Error! DisplayManager must be started first.");
      return -1;
    }
    sf::RenderWindow *p_window = display_manager.getEventWindow();
    if (p_window != nullptr) {
      // Without repeat a held key gives one press, then KEY_DOWN every frame
      // from sampling, then one release.
      p_window->setKeyRepeatEnabled(false);
      log_manager.writeLog(2, "InputManager::startUp(): Keyboard repeated disabled.");
    } else {
      log_manager.writeLog(
          "InputManager::startUp(): Warning! DisplayManager null. Cannot disable keyboard repeat.");
    }
  }

  Manager::startUp();
  log_manager.writeLog(5, "InputManager::startUp(): successfully started.");
  return 0;
}

void InputManager::shutDown() {
  const LogManager &log_manager = LogManager::getInstance();
  sf::RenderWindow *p_window = DisplayManager::getInstance().getEventWindow();
  if (p_window != nullptr) {
    p_window->setKeyRepeatEnabled(true);
    log_manager.writeLog(2, "InputManager::shutDown(): Keyboard repeat enabled.");
  }
  removeStopSignals();
  Manager::shutDown();
  log_manager.writeLog(5, "InputManager::shutDown(): successfully stopped.");
}

bool InputManager::isValid(std::string event_type) const {
  return event_type == KEYBOARD_EVENT || event_type == MSE_EVENT;
}

bool InputManager::isCloseRequested() const { return m_close_requested; }

bool InputManager::getMousePosition(Vector &position) const {
  if (m_mouse_known)
    position = m_mouse_position;
  return m_mouse_known;
}

void InputManager::setMousePosition(Vector position) const {
  m_mouse_position = position;
  m_mouse_known = true;
}

void InputManager::requestPointerUpdate() const { m_pointer_update = true; }

void InputManager::deliverMouse(EventMouseAction action, Mouse::Button button, int x,
                                int y) const {
  const EventMouse mouse = mouseEvent(action, button, x, y);
  onEvent(&mouse);
}

int InputManager::onEvent(const Event *p_event) const {
  // Every delivered mouse event, the recorded ones of a replay included,
  // tells where the pointer is.
  if (const EventMouse *p_mouse = dynamic_cast<const EventMouse *>(p_event))
    setMousePosition(p_mouse->getMousePosition());
  Recorder::getInstance().noteInput(p_event);
  return Manager::onEvent(p_event);
}

EventKeyboard InputManager::toEventKeyboard(const sf::Event &event) const {
  EventKeyboard keyboard;
  const LogManager &log_manager = LogManager::getInstance();
  if (event.type != sf::Event::KeyPressed && event.type != sf::Event::KeyReleased) {
    log_manager.writeLog("toEventKeyboard(): Error! Called with non-keyboard event.");
    return keyboard;
  }

  const sf::Keyboard::Key library_key = event.key.code;
  const Keyboard::Key key = translateKey(library_key);
  if (key == Keyboard::UNDEFINED_KEY) {
    log_manager.writeLog(1, "InputManager::toEventKeyboard(): Warning key '%s' not handled.",
                         describeKey(library_key).c_str());
  }
  keyboard.setKey(key);
  log_manager.writeLog(15, "InputManager::toEventKeyboard(): Keyboard event '%s' (%s)",
                       keyToString(key).c_str(), describeKey(library_key).c_str());
  return keyboard;
}

WindowEvent InputManager::nextWindowEvent(bool wait) const {
  if (pendingStopSignal() != 0) {
    m_close_requested = true;
    return WINDOW_CLOSED;
  }
  TerminalSession &terminal = TerminalSession::getInstance();
  if (terminal.isOpen()) {
    const WindowEvent event = terminal.nextEvent(wait);
    if (event == WINDOW_CLOSED)
      m_close_requested = true;
    return event;
  }
  sf::RenderWindow *p_window = DisplayManager::getInstance().getEventWindow();
  if (p_window != nullptr && windowDestroyed()) {
    m_close_requested = true;
    return WINDOW_CLOSED;
  }
  if (p_window == nullptr || !p_window->isOpen())
    return NO_WINDOW_EVENT;
  sf::Event event;
  // The window library's own wait checks for events every 10 ms; this one
  // does the same and also wakes for a stop signal.
  while (!p_window->pollEvent(event)) {
    if (!wait)
      return NO_WINDOW_EVENT;
    if (pendingStopSignal() != 0) {
      m_close_requested = true;
      return WINDOW_CLOSED;
    }
    sf::sleep(sf::milliseconds(10));
  }
  switch (event.type) {
    case sf::Event::Closed:
      m_close_requested = true;
      return WINDOW_CLOSED;
    case sf::Event::KeyPressed:
      return WINDOW_KEY_PRESSED;
    case sf::Event::Resized:
      DisplayManager::getInstance().resize(static_cast<int>(event.size.width),
                                           static_cast<int>(event.size.height));
      return WINDOW_RESIZED;
    default:
      return OTHER_WINDOW_EVENT;
  }
}

void InputManager::getInput() const {
  if (const int signal_number = pendingStopSignal()) {
    LogManager::getInstance().writeLog(
        "InputManager::getInput(): %s received. Setting game over.",
        stopSignalName(signal_number));
    m_close_requested = true;
    GameManager::getInstance().setGameOver(true);
    return;
  }
  if (Recorder::getInstance().deliverInput(*this))
    return;
  if (Config::getInstance().getHeadless())
    return;
  TerminalSession &terminal = TerminalSession::getInstance();
  if (terminal.isOpen()) {
    terminal.deliverInput(*this);
    return;
  }

  sf::RenderWindow *p_window = DisplayManager::getInstance().getEventWindow();
  if (p_window == nullptr) {
    LogManager::getInstance().writeLog(
        "InputManager::getInput(): DisplayManager unexpectedly returned null window!");
    return;
  }

  // Everything the window queued since the last frame, in order; a window
  // another program destroyed is closed.
  sf::Event event;
  while (windowDestroyed() ? (event.type = sf::Event::Closed, true) : p_window->pollEvent(event)) {
    switch (event.type) {
      case sf::Event::Closed:
        LogManager::getInstance().writeLog(
            windowDestroyed() ? 0 : 1, "InputManager::getInput(): Window closed. Setting game over.");
        m_close_requested = true;
        Recorder::getInstance().noteClose();
        GameManager::getInstance().setGameOver(true);
        return;
      case sf::Event::KeyPressed:
      case sf::Event::KeyReleased: {
        EventKeyboard keyboard = toEventKeyboard(event);
        keyboard.setKeyboardAction(event.type == sf::Event::KeyPressed ? KEY_PRESSED
                                                                       : KEY_RELEASED);
        onEvent(&keyboard);
        break;
      }
      case sf::Event::MouseMoved:
        deliverMouse(MOVED, Mouse::UNDEFINED_MOUSE_BUTTON, event.mouseMove.x, event.mouseMove.y);
        break;
      case sf::Event::MouseButtonPressed:
        deliverMouse(CLICKED, translateButton(event.mouseButton.button), event.mouseButton.x,
                     event.mouseButton.y);
        break;
      case sf::Event::Resized:
        DisplayManager::getInstance().resize(static_cast<int>(event.size.width),
                                             static_cast<int>(event.size.height));
        break;
      default:
        break;
    }
  }

  // Where the pointer is now; over the window, that is its last known place.
  const sf::Vector2i pointer = sf::Mouse::getPosition(*p_window);
  if (m_pointer_update) {
    m_pointer_update = false;
    deliverMouse(MOVED, Mouse::UNDEFINED_MOUSE_BUTTON, pointer.x, pointer.y);
  } else if (inWindow(*p_window, pointer) && !Recorder::getInstance().isRecording()) {
    // While recording, the pointer's place is known only from delivered
    // events, so that a replay knows it too.
    setMousePosition(DisplayManager::getInstance().windowToView(
        Vector(static_cast<float>(pointer.x), static_cast<float>(pointer.y))));
  }

  // Held mouse buttons: one PRESSED event per held button, left first.
  EventMouse held = mouseEvent(PRESSED, Mouse::UNDEFINED_MOUSE_BUTTON, pointer.x, pointer.y);
  const sf::Mouse::Button buttons[] = {sf::Mouse::Left, sf::Mouse::Right, sf::Mouse::Middle};
  for (sf::Mouse::Button button : buttons) {
    if (sf::Mouse::isButtonPressed(button)) {
      held.setMouseButton(translateButton(button));
      onEvent(&held);
    }
  }

  // Held keys: KEY_DOWN for every sampled key that is down, in table order.
  for (const KeyTranslation &entry : KEY_TABLE) {
    if (entry.held && sf::Keyboard::isKeyPressed(entry.library_key)) {
      EventKeyboard keyboard;
      keyboard.setKey(entry.key);
      keyboard.setKeyboardAction(KEY_DOWN);
      onEvent(&keyboard);
    }
  }
}

} // namespace vx
