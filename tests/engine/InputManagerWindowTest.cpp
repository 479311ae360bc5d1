// The input manager with a real window: keys and mouse actions generated in
// the X server (with xdotool) reach a registered object as engine events, and
// a close request from the window system ends the game.
#include <gtest/gtest.h>

#include <SFML/Graphics/RenderWindow.hpp>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "Config.h"
#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "GameManager.h"
#include "InputManager.h"
#include "Object.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "WorldManager.h"

using vx::InputManager;
using vxtest::commandOutput;
using vxtest::requestClose;
using vxtest::runCommand;
using vx::Vector;
namespace Keyboard = vx::Keyboard;
namespace Mouse = vx::Mouse;

namespace {

// 1024 x 768 pixels in 80 x 24 cells: a cell is 12.8 x 32 pixels.
const char *const WINDOW_CONFIG =
    "headless:false,window_horizontal_pixels:1024,window_vertical_pixels:768,"
    "window_horizontal_chars:80,window_vertical_chars:24,networking:false,";

const std::chrono::milliseconds TIMEOUT(5000);

// Long enough for what the X server sent to reach the window's connection.
const std::chrono::milliseconds SETTLE(300);

// Every key these tests press.
const char *const ALL_KEYS = "a b space Up F11 Insert z 5 0 Escape Return F10 bracketleft "
                             "KP_Add KP_Subtract grave BackSpace";

// One engine event as an object received it, and in which getInput call.
struct Received {
  bool keyboard;  // Keyboard event, else mouse event.
  int action;     // Keyboard or mouse action.
  int code;       // Key or mouse button.
  Vector position;
  int frame;
};

// Records every keyboard and mouse event it gets.
class Recorder : public vx::Object {
 private:
  std::vector<Received> *m_p_received;
  const int *m_p_frame;

 public:
  Recorder(std::vector<Received> *p_received, const int *p_frame)
      : m_p_received(p_received), m_p_frame(p_frame) {
    setSolidness(vx::SPECTRAL);
  }

  int eventHandler(const vx::Event *p_e) override {
    if (const auto *p_key = dynamic_cast<const vx::EventKeyboard *>(p_e)) {
      m_p_received->push_back(
          {true, p_key->getKeyboardAction(), p_key->getKey(), Vector(), *m_p_frame});
      return 1;
    }
    if (const auto *p_mouse = dynamic_cast<const vx::EventMouse *>(p_e)) {
      m_p_received->push_back({false, p_mouse->getMouseAction(), p_mouse->getMouseButton(),
                               p_mouse->getMousePosition(), *m_p_frame});
      return 1;
    }
    return 0;
  }
};

// Equal up to float rounding.
bool near(const Vector &a, const Vector &b) {
  return std::fabs(a.getX() - b.getX()) < 1e-4f && std::fabs(a.getY() - b.getY()) < 1e-4f;
}

class InputWindow : public ::testing::Test {
 protected:
  vxtest::LogCapture m_log;
  std::vector<Received> m_received;
  int m_frame = 0;
  std::string m_window;               // The window's X id, for xdotool.
  std::set<std::string> m_held_keys;  // Released again by TearDown.
  std::set<int> m_held_buttons;

  void SetUp() override {
    vx::Config::getInstance().loadConfig(WINDOW_CONFIG);
    ASSERT_EQ(vx::DisplayManager::getInstance().startUp(), 0);
    sf::RenderWindow *p_window = vx::DisplayManager::getInstance().getWindow();
    ASSERT_NE(p_window, nullptr);
    ASSERT_EQ(vx::WorldManager::getInstance().startUp(), 0);
    ASSERT_EQ(InputManager::getInstance().startUp(), 0);

    Recorder *p_recorder = new Recorder(&m_received, &m_frame);
    ASSERT_EQ(p_recorder->registerInterest("vx-keyboard"), 0);
    ASSERT_EQ(p_recorder->registerInterest("vx-mouse"), 0);

    // A test process that died mid-test may have left keys or buttons down.
    runCommand("xdotool keyup " + std::string(ALL_KEYS));
    runCommand("xdotool mouseup 1 mouseup 2 mouseup 3");

    m_window = std::to_string(static_cast<unsigned long>(p_window->getSystemHandle()));
    // Keys go to the focused window; there is no window manager to give it focus.
    ASSERT_TRUE(pumpUntil([this] {
      runCommand("xdotool windowfocus " + m_window);
      return commandOutput("xdotool getwindowfocus") == m_window;
    })) << "the window never got the keyboard focus";
    ASSERT_TRUE(xdo("mousemove --window " + m_window + " 512 384"));
    pumpUntil([this] { return !m_received.empty(); }, std::chrono::milliseconds(1000));
    m_received.clear();
  }

  void TearDown() override {
    // The X server outlives this process: never leave a key or button down.
    for (const std::string &key : m_held_keys)
      runCommand("xdotool keyup " + key);
    for (int button : m_held_buttons)
      runCommand("xdotool mouseup " + std::to_string(button));
    vx::WorldManager::getInstance().shutDown();
    InputManager::getInstance().shutDown();
    vx::DisplayManager::getInstance().shutDown();
  }

  static bool xdo(const std::string &arguments) { return runCommand("xdotool " + arguments); }

  void keyDown(const std::string &key) {
    m_held_keys.insert(key);
    ASSERT_TRUE(xdo("keydown " + key));
  }
  void keyUp(const std::string &key) {
    ASSERT_TRUE(xdo("keyup " + key));
    m_held_keys.erase(key);
  }
  void buttonDown(int button) {
    m_held_buttons.insert(button);
    ASSERT_TRUE(xdo("mousedown " + std::to_string(button)));
  }
  void buttonUp(int button) {
    ASSERT_TRUE(xdo("mouseup " + std::to_string(button)));
    m_held_buttons.erase(button);
  }

  // One game-loop iteration's worth of input.
  void frame() {
    m_frame++;
    InputManager::getInstance().getInput();
  }

  // Runs frames until the condition holds; false after the timeout.
  bool pumpUntil(const std::function<bool()> &done,
                 std::chrono::milliseconds timeout = TIMEOUT) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (true) {
      frame();
      if (done())
        return true;
      if (std::chrono::steady_clock::now() > end)
        return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  void frames(int count) {
    for (int i = 0; i < count; i++) {
      frame();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  // The first received event that matches, or null.
  const Received *find(bool keyboard, int action, int code) const {
    for (const Received &r : m_received)
      if (r.keyboard == keyboard && r.action == action && r.code == code)
        return &r;
    return nullptr;
  }
  bool receivedKey(int action, int key) const { return find(true, action, key) != nullptr; }
  bool receivedMouse(int action, int button) const {
    return find(false, action, button) != nullptr;
  }

  // How many matching events arrived in one frame, or in all frames for -1.
  int count(bool keyboard, int action, int code, int in_frame = -1) const {
    int n = 0;
    for (const Received &r : m_received)
      if (r.keyboard == keyboard && r.action == action && r.code == code &&
          (in_frame == -1 || r.frame == in_frame))
        n++;
    return n;
  }

  std::vector<Received> inFrame(int in_frame) const {
    std::vector<Received> result;
    for (const Received &r : m_received)
      if (r.frame == in_frame)
        result.push_back(r);
    return result;
  }
};

} // namespace

TEST_F(InputWindow, HeldKeyGivesOnePressThenDownEveryFrameThenOneRelease) {
  keyDown("a");
  ASSERT_TRUE(pumpUntil([this] { return receivedKey(vx::KEY_PRESSED, Keyboard::A); }));
  const int pressed_frame = find(true, vx::KEY_PRESSED, Keyboard::A)->frame;

  // Held past the window system's key-repeat delay: still a single press.
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1200);
  while (std::chrono::steady_clock::now() < end)
    frames(1);
  const int last_held_frame = m_frame;
  EXPECT_EQ(count(true, vx::KEY_PRESSED, Keyboard::A), 1);
  for (int f = pressed_frame; f <= last_held_frame; f++)
    EXPECT_EQ(count(true, vx::KEY_DOWN, Keyboard::A, f), 1) << "frame " << f;

  keyUp("a");
  ASSERT_TRUE(pumpUntil([this] { return receivedKey(vx::KEY_RELEASED, Keyboard::A); }));
  const int released_frame = find(true, vx::KEY_RELEASED, Keyboard::A)->frame;
  frames(5);
  for (const Received &r : m_received) {
    if (r.frame >= released_frame) {
      EXPECT_NE(r.action, vx::KEY_DOWN) << "held after release in frame " << r.frame;
    }
  }
  EXPECT_EQ(count(true, vx::KEY_RELEASED, Keyboard::A), 1);
  // The press came first, the release last.
  ASSERT_FALSE(m_received.empty());
  EXPECT_EQ(m_received.front().action, vx::KEY_PRESSED);
  EXPECT_EQ(m_received.back().action, vx::KEY_RELEASED);
}

TEST_F(InputWindow, PressAndReleaseWithinOneFrameGiveNoDown) {
  ASSERT_TRUE(xdo("key a"));
  std::this_thread::sleep_for(SETTLE);
  ASSERT_TRUE(pumpUntil([this] { return receivedKey(vx::KEY_RELEASED, Keyboard::A); }));
  ASSERT_EQ(m_received.size(), 2u);
  EXPECT_EQ(m_received[0].action, vx::KEY_PRESSED);
  EXPECT_EQ(m_received[0].code, Keyboard::A);
  EXPECT_EQ(m_received[1].action, vx::KEY_RELEASED);
  EXPECT_EQ(m_received[1].code, Keyboard::A);
  EXPECT_EQ(m_received[0].frame, m_received[1].frame);
}

TEST_F(InputWindow, KeysTranslateToEngineKeys) {
  struct {
    const char *name;
    Keyboard::Key key;
  } const keys[] = {{"z", Keyboard::Z},          {"5", Keyboard::NUM5},
                    {"0", Keyboard::NUM0},       {"Escape", Keyboard::ESCAPE},
                    {"Return", Keyboard::RETURN}, {"space", Keyboard::SPACE},
                    {"F10", Keyboard::F10},      {"bracketleft", Keyboard::LEFTBRACKET},
                    {"KP_Add", Keyboard::PLUS},  {"KP_Subtract", Keyboard::MINUS},
                    {"grave", Keyboard::TILDE},  {"BackSpace", Keyboard::BACKSPACE}};
  for (const auto &k : keys) {
    SCOPED_TRACE(k.name);
    m_received.clear();
    keyDown(k.name);
    ASSERT_TRUE(pumpUntil([&] { return receivedKey(vx::KEY_PRESSED, k.key); }));
    EXPECT_TRUE(pumpUntil([&] { return receivedKey(vx::KEY_DOWN, k.key); }));
    keyUp(k.name);
    ASSERT_TRUE(pumpUntil([&] { return receivedKey(vx::KEY_RELEASED, k.key); }));
    for (const Received &r : m_received)
      EXPECT_EQ(r.code, k.key);
  }
}

TEST_F(InputWindow, F11IsPressedButNeverHeld) {
  keyDown("F11");
  ASSERT_TRUE(pumpUntil([this] { return receivedKey(vx::KEY_PRESSED, Keyboard::F11); }));
  frames(10);
  EXPECT_EQ(count(true, vx::KEY_DOWN, Keyboard::F11), 0);
  keyUp("F11");
  ASSERT_TRUE(pumpUntil([this] { return receivedKey(vx::KEY_RELEASED, Keyboard::F11); }));
  EXPECT_EQ(m_received.size(), 2u);
}

TEST_F(InputWindow, UntranslatedKeyArrivesAsUndefined) {
  keyDown("Insert");
  ASSERT_TRUE(
      pumpUntil([this] { return receivedKey(vx::KEY_PRESSED, Keyboard::UNDEFINED_KEY); }));
  frames(5);
  keyUp("Insert");
  ASSERT_TRUE(
      pumpUntil([this] { return receivedKey(vx::KEY_RELEASED, Keyboard::UNDEFINED_KEY); }));
  // Never sampled as held, and no other key was reported.
  EXPECT_EQ(m_received.size(), 2u);
}

TEST_F(InputWindow, HeldKeysAreSampledInTheirFixedOrder) {
  // Pressed in the reverse of the sampling order.
  keyDown("a");
  keyDown("space");
  keyDown("Up");
  ASSERT_TRUE(pumpUntil([this] { return receivedKey(vx::KEY_PRESSED, Keyboard::UPARROW); }));
  m_received.clear();
  frame();
  const std::vector<Received> held = inFrame(m_frame);
  ASSERT_EQ(held.size(), 3u);
  EXPECT_EQ(held[0].code, Keyboard::UPARROW);
  EXPECT_EQ(held[1].code, Keyboard::SPACE);
  EXPECT_EQ(held[2].code, Keyboard::A);
  for (const Received &r : held)
    EXPECT_EQ(r.action, vx::KEY_DOWN);
  keyUp("Up");
  keyUp("space");
  keyUp("a");
}

TEST_F(InputWindow, MouseMovesArriveInViewCells) {
  ASSERT_TRUE(xdo("mousemove --window " + m_window + " 700 500"));
  ASSERT_TRUE(pumpUntil([this] { return receivedMouse(vx::MOVED, Mouse::UNDEFINED_MOUSE_BUTTON); }));
  m_received.clear();

  ASSERT_TRUE(xdo("mousemove --window " + m_window + " 128 64"));
  ASSERT_TRUE(pumpUntil([this] {
    return !m_received.empty() && near(m_received.back().position, Vector(10, 2));
  })) << "no move to (10,2)";
  for (const Received &r : m_received) {
    EXPECT_FALSE(r.keyboard);
    EXPECT_EQ(r.action, vx::MOVED);
    EXPECT_EQ(r.code, Mouse::UNDEFINED_MOUSE_BUTTON);
  }

  // Positions between cell edges are fractions of a cell.
  ASSERT_TRUE(xdo("mousemove --window " + m_window + " 70 40"));
  ASSERT_TRUE(pumpUntil([this] {
    return !m_received.empty() && near(m_received.back().position, Vector(70 / 12.8f, 1.25f));
  }));
}

TEST_F(InputWindow, ClickThenHoldGivesClickedThenPressedEveryFrame) {
  ASSERT_TRUE(xdo("mousemove --window " + m_window + " 256 320"));
  ASSERT_TRUE(pumpUntil([this] {
    return !m_received.empty() && near(m_received.back().position, Vector(20, 10));
  }));
  m_received.clear();

  buttonDown(1);
  ASSERT_TRUE(pumpUntil([this] { return receivedMouse(vx::CLICKED, Mouse::LEFT); }));
  const Received clicked = *find(false, vx::CLICKED, Mouse::LEFT);
  EXPECT_TRUE(near(clicked.position, Vector(20, 10)));
  // The click's own frame already samples the held button, after the click.
  const std::vector<Received> click_frame = inFrame(clicked.frame);
  ASSERT_EQ(click_frame.size(), 2u);
  EXPECT_EQ(click_frame[0].action, vx::CLICKED);
  EXPECT_EQ(click_frame[1].action, vx::PRESSED);
  EXPECT_EQ(click_frame[1].code, Mouse::LEFT);
  EXPECT_TRUE(near(click_frame[1].position, Vector(20, 10)));

  frames(3);
  for (int f = clicked.frame; f <= m_frame; f++)
    EXPECT_EQ(count(false, vx::PRESSED, Mouse::LEFT, f), 1) << "frame " << f;

  // Two buttons held: two PRESSED events every frame, left first.
  buttonDown(3);
  ASSERT_TRUE(pumpUntil([this] { return receivedMouse(vx::CLICKED, Mouse::RIGHT); }));
  m_received.clear();
  frame();
  const std::vector<Received> both = inFrame(m_frame);
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0].action, vx::PRESSED);
  EXPECT_EQ(both[0].code, Mouse::LEFT);
  EXPECT_EQ(both[1].action, vx::PRESSED);
  EXPECT_EQ(both[1].code, Mouse::RIGHT);

  // Releasing raises nothing, and the held events stop.
  buttonUp(1);
  buttonUp(3);
  ASSERT_TRUE(pumpUntil([this] { return inFrame(m_frame).empty(); }));
  m_received.clear();
  frames(3);
  EXPECT_TRUE(m_received.empty());
}

TEST_F(InputWindow, ClicksNameTheirButton) {
  ASSERT_TRUE(xdo("mousemove --window " + m_window + " 640 384"));
  ASSERT_TRUE(pumpUntil([this] {
    return !m_received.empty() && near(m_received.back().position, Vector(50, 12));
  }));

  ASSERT_TRUE(xdo("click 2"));
  ASSERT_TRUE(pumpUntil([this] { return receivedMouse(vx::CLICKED, Mouse::MIDDLE); }));
  EXPECT_TRUE(near(find(false, vx::CLICKED, Mouse::MIDDLE)->position, Vector(50, 12)));
  ASSERT_TRUE(xdo("click 3"));
  ASSERT_TRUE(pumpUntil([this] { return receivedMouse(vx::CLICKED, Mouse::RIGHT); }));

  // An extra button is a click with no engine button; the wheel is ignored.
  m_received.clear();
  ASSERT_TRUE(xdo("click 4"));
  ASSERT_TRUE(xdo("click 8"));
  ASSERT_TRUE(pumpUntil(
      [this] { return receivedMouse(vx::CLICKED, Mouse::UNDEFINED_MOUSE_BUTTON); }));
  frames(3);
  for (const Received &r : m_received) {
    EXPECT_EQ(r.action, vx::CLICKED);
    EXPECT_EQ(r.code, Mouse::UNDEFINED_MOUSE_BUTTON);
  }
  EXPECT_EQ(m_received.size(), 1u);
}

TEST_F(InputWindow, ClosingTheWindowSetsGameOver) {
  vx::GameManager &game = vx::GameManager::getInstance();
  frames(3);
  ASSERT_FALSE(game.getGameOver());
  ASSERT_FALSE(vx::InputManager::getInstance().isCloseRequested());
  ASSERT_TRUE(requestClose(std::stoul(m_window)));
  EXPECT_TRUE(pumpUntil([&game] { return game.getGameOver(); }));
  // Still known after a later run clears game over.
  game.setGameOver(false);
  EXPECT_TRUE(vx::InputManager::getInstance().isCloseRequested());
  // The window stays open until the display manager shuts down.
  EXPECT_TRUE(vx::DisplayManager::getInstance().getWindow()->isOpen());
}

TEST_F(InputWindow, CloseInTheQueueEndsTheFrame) {
  vx::GameManager &game = vx::GameManager::getInstance();
  // Queued together: a press, the close request, another press.
  keyDown("a");
  ASSERT_TRUE(requestClose(std::stoul(m_window)));
  keyDown("b");
  std::this_thread::sleep_for(SETTLE);

  ASSERT_TRUE(pumpUntil([&game] { return game.getGameOver(); }));
  const int close_frame = m_frame;
  // The press before the close was delivered, and nothing after it: no later
  // event, and no sampling of the held keys.
  const std::vector<Received> closing = inFrame(close_frame);
  ASSERT_EQ(closing.size(), 1u);
  EXPECT_EQ(closing[0].action, vx::KEY_PRESSED);
  EXPECT_EQ(closing[0].code, Keyboard::A);

  // The rest of the queue comes in the next frame.
  ASSERT_TRUE(pumpUntil([this] { return receivedKey(vx::KEY_PRESSED, Keyboard::B); }));
  EXPECT_GT(find(true, vx::KEY_PRESSED, Keyboard::B)->frame, close_frame);
  keyUp("b");
  keyUp("a");
}

// A resized window keeps the grid's shape between bars, and the pointer maps
// through that placement: the grid's corners and centre reach those cells,
// the bars the nearest cell. Each pixel probed is brought on screen by moving
// the window, as 1600 pixels are wider than the test screen.
TEST_F(InputWindow, ResizedWindowLetterboxesTheGridAndMapsThePointerThroughIt) {
  struct Probe { int x, y; Vector cell; };
  struct Size { int width, height; int left, top, grid_width, grid_height; std::vector<Probe> probes; };
  const Size sizes[] = {
      {640, 480, 0, 0, 640, 480, {{0, 0, {0, 0}}, {639, 0, {79, 0}}, {0, 479, {0, 23}},
                                  {639, 479, {79, 23}}, {320, 240, {40, 12}}}},
      {1600, 900, 200, 0, 1200, 900, {{200, 0, {0, 0}}, {1399, 0, {79, 0}}, {200, 899, {0, 23}},
                                      {1399, 899, {79, 23}}, {800, 450, {40, 12}},
                                      {60, 450, {0, 12}}, {1550, 5, {79, 0}}}},
  };
  vx::DisplayManager &display = vx::DisplayManager::getInstance();
  for (const Size &size : sizes) {
    SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
    ASSERT_TRUE(xdo("windowsize " + m_window + " " + std::to_string(size.width) + " " +
                    std::to_string(size.height)));
    ASSERT_TRUE(pumpUntil([&] { return display.getPlacement().window_width == size.width; }));
    const vx::Letterbox placed = display.getPlacement();
    EXPECT_EQ(std::vector<int>({placed.left, placed.top, placed.grid_width, placed.grid_height}),
              std::vector<int>({size.left, size.top, size.grid_width, size.grid_height}));

    // Every cell drawn: ink reaches the grid's four corner cells and no bar.
    for (int y = 0; y < 24; y++)
      for (int x = 0; x < 80; x++)
        display.drawCh(Vector(static_cast<float>(x), static_cast<float>(y)), '#', vx::WHITE);
    const sf::Image image = vxtest::backBuffer();
    auto ink = [&](int x0, int y0, int x1, int y1) {
      return (x1 - x0) * (y1 - y0) - vxtest::countColor(image, sf::Color::Black, x0, y0, x1, y1);
    };
    const int cell_w = size.grid_width / 80, cell_h = size.grid_height / 24;
    const int right = size.left + size.grid_width, bottom = size.top + size.grid_height;
    EXPECT_GT(ink(size.left, size.top, size.left + cell_w, size.top + cell_h), 0);
    EXPECT_GT(ink(right - cell_w, bottom - cell_h, right, bottom), 0);
    EXPECT_EQ(ink(0, 0, size.left, size.height), 0);
    EXPECT_EQ(ink(right, 0, size.width, size.height), 0);
    display.swapBuffers();

    for (const Probe &probe : size.probes) {
      SCOPED_TRACE(std::to_string(probe.x) + "," + std::to_string(probe.y));
      ASSERT_TRUE(xdo("windowmove " + m_window + " " + std::to_string(600 - probe.x) + " " +
                      std::to_string(500 - probe.y) + " mousemove 10 10 mousemove --window " +
                      m_window + " " + std::to_string(probe.x) + " " + std::to_string(probe.y)));
      EXPECT_TRUE(pumpUntil([&] {
        return !m_received.empty() && m_received.back().action == vx::MOVED &&
               std::floor(m_received.back().position.getX()) == probe.cell.getX() &&
               std::floor(m_received.back().position.getY()) == probe.cell.getY();
      }));
    }
  }
}
