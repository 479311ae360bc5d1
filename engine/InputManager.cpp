#include "InputManager.h"

#include <algorithm>

#include "DisplayManager.h"
#include "GameManager.h"
#include "LockstepMatch.h"
#include "LogManager.h"
#include "Recorder.h"
#include "StopSignals.h"
#include "WindowKeys.h"

namespace vx {

namespace {

// The live input of the display in use.
InputSource &displayInput() { return DisplayManager::getInstance().getBackend(); }

} // namespace

InputManager::InputManager()
    : m_close_requested(false), m_mouse_known(), m_pointer_update(false) {
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
  for (bool &known : m_mouse_known)
    known = false;
  m_pointer_update = false;
  m_queued.clear();
  const LogManager &log_manager = LogManager::getInstance();
  // SIGINT, SIGTERM and SIGHUP end the game as closing the window does.
  installStopSignals();
  // Input comes from the display in use (which refuses before start-up,
  // unless headless).
  if (displayInput().startInput() != 0)
    return -1;

  Manager::startUp();
  log_manager.writeLog(5, "InputManager::startUp(): successfully started.");
  return 0;
}

void InputManager::shutDown() {
  const LogManager &log_manager = LogManager::getInstance();
  displayInput().stopInput();
  removeStopSignals();
  Manager::shutDown();
  log_manager.writeLog(5, "InputManager::shutDown(): successfully stopped.");
}

bool InputManager::isValid(std::string event_type) const {
  return event_type == KEYBOARD_EVENT || event_type == MSE_EVENT;
}

bool InputManager::isCloseRequested() const { return m_close_requested; }

bool InputManager::getMousePosition(Vector &position, int player) const {
  if (player < 0 || player >= MAX_PLAYERS || !m_mouse_known[player])
    return false;
  position = m_mouse_position[player];
  return true;
}

void InputManager::setMousePosition(Vector position, int player) const {
  if (player < 0 || player >= MAX_PLAYERS)
    return;
  m_mouse_position[player] = position;
  m_mouse_known[player] = true;
}

void InputManager::requestPointerUpdate() const { m_pointer_update = true; }

int InputManager::onEvent(const Event *p_event) const {
  LockstepMatch &match = LockstepMatch::getInstance();
  if (match.isCapturing()) {
    RecordedInput input;
    if (toRecordedInput(p_event, input))
      match.capture(input);
    return 0;
  }
  // Every delivered mouse event, the recorded ones of a replay included,
  // tells where its player's pointer is.
  if (const EventMouse *p_mouse = dynamic_cast<const EventMouse *>(p_event))
    setMousePosition(p_mouse->getMousePosition(), p_mouse->getPlayer());
  for (InputListener *p_listener : m_listeners)
    p_listener->onInput(*p_event);
  return Manager::onEvent(p_event);
}

void InputManager::deliverClose() const {
  m_close_requested = true;
  for (InputListener *p_listener : m_listeners)
    p_listener->onClose();
  GameManager::getInstance().setGameOver(true);
}

void InputManager::notePointer(Vector position) const {
  // In a match, too, the pointer's place is known only from delivered events,
  // so that the other machine knows it as well.
  if (m_listeners.empty() && !LockstepMatch::getInstance().isCapturing())
    setMousePosition(position);
}

bool InputManager::takePointerUpdate() const {
  const bool requested = m_pointer_update;
  m_pointer_update = false;
  return requested;
}

void InputManager::setSource(InputSource *p_source) { m_p_source = p_source; }

bool InputManager::isLive() const { return m_p_source == nullptr; }

void InputManager::queueInput(const Event &event) {
  if (const EventKeyboard *p_keyboard = dynamic_cast<const EventKeyboard *>(&event))
    m_queued.push_back(std::make_unique<EventKeyboard>(*p_keyboard));
  else if (const EventMouse *p_mouse = dynamic_cast<const EventMouse *>(&event))
    m_queued.push_back(std::make_unique<EventMouse>(*p_mouse));
}

void InputManager::addListener(InputListener *p_listener) {
  if (std::find(m_listeners.begin(), m_listeners.end(), p_listener) == m_listeners.end())
    m_listeners.push_back(p_listener);
}

void InputManager::removeListener(InputListener *p_listener) {
  m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), p_listener),
                    m_listeners.end());
}

EventKeyboard InputManager::toEventKeyboard(const sf::Event &event) const {
  return windowKeyboardEvent(event);
}

WindowEvent InputManager::nextWindowEvent(bool wait) const {
  if (pendingStopSignal() != 0) {
    m_close_requested = true;
    return WINDOW_CLOSED;
  }
  const WindowEvent event = displayInput().nextEvent(wait);
  if (event == WINDOW_CLOSED)
    m_close_requested = true;
  return event;
}

void InputManager::getInput() const {
  LockstepMatch &match = LockstepMatch::getInstance();
  if (match.isPlaying())
    match.exchangeInput(*this);
  else
    readInput();
}

void InputManager::readInput() const {
  if (const int signal_number = pendingStopSignal()) {
    LogManager::getInstance().writeLog(
        "InputManager::getInput(): %s received. Setting game over.",
        stopSignalName(signal_number));
    m_close_requested = true;
    GameManager::getInstance().setGameOver(true);
    return;
  }
  if (m_p_source != nullptr) {
    m_p_source->deliverInput(*this);
    return;
  }
  // Input handed in for this step goes first, as if the player gave it.
  if (!m_queued.empty()) {
    std::vector<std::unique_ptr<Event>> queued;
    queued.swap(m_queued);
    for (const std::unique_ptr<Event> &p_event : queued)
      onEvent(p_event.get());
  }
  displayInput().deliverInput(*this);
}

} // namespace vx
