// The input manager without a real window: start-up rules, which events it
// keeps interest in, and the translation of the window's keys.
#include <gtest/gtest.h>

#include <SFML/Window/Event.hpp>

#include <map>
#include <string>

#include "Config.h"
#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "GameManager.h"
#include "InputManager.h"
#include "Object.h"
#include "TestSupport.h"
#include "WorldManager.h"

using vx::InputManager;
namespace Keyboard = vx::Keyboard;

namespace {

class InputManagerTest : public ::testing::Test {
 protected:
  vxtest::LogCapture m_log;

  void SetUp() override { vx::Config::getInstance().loadConfig(""); }
};

// Counts every event it gets.
class Listener : public vx::Object {
 public:
  int m_events = 0;
  int eventHandler(const vx::Event *) override {
    m_events++;
    return 1;
  }
};

sf::Event keyEvent(sf::Event::EventType type, sf::Keyboard::Key code) {
  sf::Event event;
  event.type = type;
  event.key.code = code;
  event.key.alt = event.key.control = event.key.shift = event.key.system = false;
  return event;
}

// The engine key expected for every window key the engine knows.
std::map<sf::Keyboard::Key, Keyboard::Key> expectedKeys() {
  std::map<sf::Keyboard::Key, Keyboard::Key> keys;
  for (int i = 0; i < 26; i++)
    keys[static_cast<sf::Keyboard::Key>(sf::Keyboard::A + i)] =
        static_cast<Keyboard::Key>(Keyboard::A + i);
  for (int i = 1; i <= 9; i++)
    keys[static_cast<sf::Keyboard::Key>(sf::Keyboard::Num0 + i)] =
        static_cast<Keyboard::Key>(Keyboard::NUM1 + i - 1);
  keys[sf::Keyboard::Num0] = Keyboard::NUM0;
  for (int i = 0; i < 12; i++)
    keys[static_cast<sf::Keyboard::Key>(sf::Keyboard::F1 + i)] =
        static_cast<Keyboard::Key>(Keyboard::F1 + i);
  keys[sf::Keyboard::Escape] = Keyboard::ESCAPE;
  keys[sf::Keyboard::LControl] = Keyboard::LEFTCONTROL;
  keys[sf::Keyboard::LShift] = Keyboard::LEFTSHIFT;
  keys[sf::Keyboard::RControl] = Keyboard::RIGHTCONTROL;
  keys[sf::Keyboard::RShift] = Keyboard::RIGHTSHIFT;
  keys[sf::Keyboard::LBracket] = Keyboard::LEFTBRACKET;
  keys[sf::Keyboard::RBracket] = Keyboard::RIGHTBRACKET;
  keys[sf::Keyboard::Semicolon] = Keyboard::SEMICOLON;
  keys[sf::Keyboard::Comma] = Keyboard::COMMA;
  keys[sf::Keyboard::Period] = Keyboard::PERIOD;
  keys[sf::Keyboard::Quote] = Keyboard::QUOTE;
  keys[sf::Keyboard::Slash] = Keyboard::SLASH;
  keys[sf::Keyboard::Backslash] = Keyboard::BACKSLASH;
  keys[sf::Keyboard::Tilde] = Keyboard::TILDE;
  keys[sf::Keyboard::Equal] = Keyboard::EQUALS;
  keys[sf::Keyboard::Space] = Keyboard::SPACE;
  keys[sf::Keyboard::Enter] = Keyboard::RETURN;
  keys[sf::Keyboard::Backspace] = Keyboard::BACKSPACE;
  keys[sf::Keyboard::Tab] = Keyboard::TAB;
  keys[sf::Keyboard::Add] = Keyboard::PLUS;
  keys[sf::Keyboard::Subtract] = Keyboard::MINUS;
  keys[sf::Keyboard::Multiply] = Keyboard::MULTIPLY;
  keys[sf::Keyboard::Left] = Keyboard::LEFTARROW;
  keys[sf::Keyboard::Right] = Keyboard::RIGHTARROW;
  keys[sf::Keyboard::Up] = Keyboard::UPARROW;
  keys[sf::Keyboard::Down] = Keyboard::DOWNARROW;
  keys[sf::Keyboard::Pause] = Keyboard::PAUSE;
  return keys;
}

} // namespace

TEST_F(InputManagerTest, KeepsInterestInKeyboardAndMouseOnly) {
  const InputManager &input = InputManager::getInstance();
  EXPECT_TRUE(input.isValid("vx-keyboard"));
  EXPECT_TRUE(input.isValid("vx-mouse"));
  for (const char *type : {"vx-step", "vx-view", "vx-undefined", "vx-collision",
                           "vx-keyboard-network", "vx-mouse-network", "", "VX-KEYBOARD"})
    EXPECT_FALSE(input.isValid(type)) << type;
}

TEST_F(InputManagerTest, HeadlessStartsWithoutADisplay) {
  InputManager &input = InputManager::getInstance();
  ASSERT_FALSE(vx::DisplayManager::getInstance().isStarted());
  EXPECT_EQ(input.startUp(), 0);
  EXPECT_TRUE(input.isStarted());
  EXPECT_TRUE(m_log.messages().empty());

  EXPECT_EQ(input.startUp(), -1);
  EXPECT_TRUE(m_log.contains("InputManager::startup(): Warning! InputManager already started."));
  EXPECT_TRUE(input.isStarted());

  input.shutDown();
  EXPECT_FALSE(input.isStarted());
}

TEST_F(InputManagerTest, HeadlessGetInputDoesNothing) {
  ASSERT_EQ(vx::WorldManager::getInstance().startUp(), 0);
  InputManager &input = InputManager::getInstance();
  ASSERT_EQ(input.startUp(), 0);
  Listener *p_listener = new Listener;
  ASSERT_EQ(p_listener->registerInterest("vx-keyboard"), 0);
  ASSERT_EQ(p_listener->registerInterest("vx-mouse"), 0);
  const int log_lines = static_cast<int>(m_log.messages().size());

  for (int i = 0; i < 5; i++)
    input.getInput();

  EXPECT_EQ(p_listener->m_events, 0);
  EXPECT_EQ(static_cast<int>(m_log.messages().size()), log_lines);
  EXPECT_FALSE(vx::GameManager::getInstance().getGameOver());
  vx::WorldManager::getInstance().shutDown();
  input.shutDown();
}

TEST_F(InputManagerTest, RegisteredObjectsGetDeliveredEvents) {
  ASSERT_EQ(vx::WorldManager::getInstance().startUp(), 0);
  Listener *p_keys = new Listener;
  Listener *p_mouse = new Listener;
  ASSERT_EQ(p_keys->registerInterest("vx-keyboard"), 0);
  ASSERT_EQ(p_mouse->registerInterest("vx-mouse"), 0);

  vx::EventKeyboard key;
  vx::EventMouse mouse;
  EXPECT_EQ(InputManager::getInstance().onEvent(&key), 1);
  EXPECT_EQ(InputManager::getInstance().onEvent(&mouse), 1);
  EXPECT_EQ(p_keys->m_events, 1);
  EXPECT_EQ(p_mouse->m_events, 1);
  vx::WorldManager::getInstance().shutDown();
}

TEST_F(InputManagerTest, WindowedStartNeedsTheDisplayManager) {
  vx::Config::getInstance().loadConfig("headless:false,");
  EXPECT_EQ(InputManager::getInstance().startUp(), -1);
  EXPECT_FALSE(InputManager::getInstance().isStarted());
  EXPECT_EQ(m_log.count("InputManager::startUp(): Error! DisplayManager must be started first."), 1);
}

TEST_F(InputManagerTest, MissingWindowIsAWarningAtStartAndAnErrorEveryFrame) {
  // A display started headless has no window; input is then asked to run windowed.
  ASSERT_EQ(vx::DisplayManager::getInstance().startUp(), 0);
  ASSERT_EQ(vx::DisplayManager::getInstance().getWindow(), nullptr);
  vx::Config::getInstance().loadConfig("headless:false,");

  InputManager &input = InputManager::getInstance();
  EXPECT_EQ(input.startUp(), 0);
  EXPECT_TRUE(input.isStarted());
  EXPECT_EQ(m_log.count("InputManager::startUp(): Warning! DisplayManager null. Cannot disable "
                        "keyboard repeat."),
            1);

  input.getInput();
  input.getInput();
  EXPECT_EQ(m_log.count("InputManager::getInput(): DisplayManager unexpectedly returned null "
                        "window!"),
            2);
  EXPECT_FALSE(vx::GameManager::getInstance().getGameOver());
  input.shutDown();
  vx::DisplayManager::getInstance().shutDown();
}

TEST_F(InputManagerTest, TranslatesEveryKnownKey) {
  const std::map<sf::Keyboard::Key, Keyboard::Key> keys = expectedKeys();
  ASSERT_EQ(keys.size(), 75u);
  for (const auto &entry : keys) {
    for (sf::Event::EventType type : {sf::Event::KeyPressed, sf::Event::KeyReleased}) {
      const vx::EventKeyboard event =
          InputManager::getInstance().toEventKeyboard(keyEvent(type, entry.first));
      EXPECT_EQ(event.getKey(), entry.second) << "window key " << entry.first;
      EXPECT_EQ(event.getKeyboardAction(), vx::UNDEFINED_KEYBOARD_ACTION);
      EXPECT_EQ(event.getType(), "vx-keyboard");
    }
  }
  EXPECT_TRUE(m_log.messages().empty());
}

TEST_F(InputManagerTest, OtherKeysBecomeUndefined) {
  const std::map<sf::Keyboard::Key, Keyboard::Key> keys = expectedKeys();
  int undefined = 0;
  for (int code = sf::Keyboard::Unknown; code < sf::Keyboard::KeyCount; code++) {
    const sf::Keyboard::Key library_key = static_cast<sf::Keyboard::Key>(code);
    if (keys.count(library_key) != 0)
      continue;
    const vx::EventKeyboard event =
        InputManager::getInstance().toEventKeyboard(keyEvent(sf::Event::KeyPressed, library_key));
    EXPECT_EQ(event.getKey(), Keyboard::UNDEFINED_KEY) << "window key " << code;
    undefined++;
  }
  // Unknown, Alt and System keys, Menu, Hyphen, the navigation block, Divide,
  // the numeric keypad digits and F13 to F15.
  EXPECT_EQ(undefined, 27);
  // Codes outside the library's range are no key either.
  const vx::EventKeyboard stray = InputManager::getInstance().toEventKeyboard(
      keyEvent(sf::Event::KeyPressed, static_cast<sf::Keyboard::Key>(120)));
  EXPECT_EQ(stray.getKey(), Keyboard::UNDEFINED_KEY);
}

TEST_F(InputManagerTest, NonKeyboardEventIsRefused) {
  sf::Event event;
  event.type = sf::Event::MouseMoved;
  event.mouseMove.x = 3;
  event.mouseMove.y = 4;
  const vx::EventKeyboard keyboard = InputManager::getInstance().toEventKeyboard(event);
  EXPECT_EQ(keyboard.getKey(), Keyboard::UNDEFINED_KEY);
  EXPECT_EQ(keyboard.getKeyboardAction(), vx::UNDEFINED_KEYBOARD_ACTION);
  EXPECT_EQ(m_log.count("toEventKeyboard(): Error! Called with non-keyboard event."), 1);
}

// Hears every delivered event and close.
class HeardInput : public vx::InputListener {
 public:
  int m_inputs = 0;
  int m_closes = 0;
  void onInput(const vx::Event &) override { m_inputs++; }
  void onClose() override { m_closes++; }
};

// Gives one key press a step, as a replay would.
class OneKeySource : public vx::InputSource {
 public:
  void deliverInput(const InputManager &input_manager) override {
    vx::EventKeyboard key;
    key.setKey(Keyboard::A);
    key.setKeyboardAction(vx::KEY_PRESSED);
    input_manager.onEvent(&key);
  }
  vx::WindowEvent nextEvent(bool) override { return vx::NO_WINDOW_EVENT; }
};

TEST_F(InputManagerTest, QueuedAndSourcedInputReachObjectsAndListenersAlike) {
  ASSERT_EQ(vx::WorldManager::getInstance().startUp(), 0);
  InputManager &input = InputManager::getInstance();
  ASSERT_EQ(input.startUp(), 0);
  Listener *p_object = new Listener;
  ASSERT_EQ(p_object->registerInterest("vx-keyboard"), 0);
  ASSERT_EQ(p_object->registerInterest("vx-mouse"), 0);
  HeardInput heard;
  input.addListener(&heard);
  input.addListener(&heard);

  vx::EventMouse click;
  click.setMouseAction(vx::CLICKED);
  click.setMousePosition(vx::Vector(3, 4));
  input.queueInput(click);
  input.queueInput(vx::EventKeyboard());
  input.getInput();
  input.getInput(); // The queue is delivered once.
  EXPECT_EQ(p_object->m_events, 2);
  EXPECT_EQ(heard.m_inputs, 2);
  vx::Vector where;
  ASSERT_TRUE(input.getMousePosition(where));
  EXPECT_EQ(where, vx::Vector(3, 4));

  // A source gives the step's input instead; queued input waits meanwhile.
  OneKeySource source;
  input.setSource(&source);
  EXPECT_FALSE(input.isLive());
  input.queueInput(vx::EventKeyboard());
  input.getInput();
  EXPECT_EQ(p_object->m_events, 3);
  EXPECT_EQ(heard.m_inputs, 3);
  input.setSource(nullptr);
  EXPECT_TRUE(input.isLive());

  input.removeListener(&heard);
  input.getInput();
  EXPECT_EQ(p_object->m_events, 4);
  EXPECT_EQ(heard.m_inputs, 3);

  input.addListener(&heard);
  input.deliverClose();
  EXPECT_EQ(heard.m_closes, 1);
  EXPECT_TRUE(input.isCloseRequested());
  EXPECT_TRUE(vx::GameManager::getInstance().getGameOver());
  input.removeListener(&heard);
  vx::WorldManager::getInstance().shutDown();
  input.shutDown();
}
