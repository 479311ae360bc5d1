// The pause key in a running game with a real window and real keys (xdotool):
// the loop stands still and almost idle until a key press, a release does not
// resume, and closing the window while paused ends the game.
#include <gtest/gtest.h>

#include <pthread.h>

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

#include <atomic>
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventStep.h"
#include "GameManager.h"
#include "InputManager.h"
#include "LogManager.h"
#include "Pause.h"
#include "ResourceManager.h"
#include "Swatter.h"
#include "AudioTestSupport.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

using namespace std::chrono_literals;
using vxtest::runCommand;

namespace {

const char *const WINDOW_CONFIG =
    "headless:false,window_horizontal_pixels:1024,window_vertical_pixels:768,"
    "window_horizontal_chars:80,window_vertical_chars:24,networking:false,";

// Counts the steps and ends the game once asked to.
class Stepper : public vx::Object {
 private:
  std::atomic<int> &m_steps;
  const std::atomic<bool> &m_stop;

 public:
  Stepper(std::atomic<int> &steps, const std::atomic<bool> &stop) : m_steps(steps), m_stop(stop) {
    setSolidness(vx::SPECTRAL);
    registerInterest(vx::STEP_EVENT);
  }
  int eventHandler(const vx::Event *) override {
    m_steps++;
    if (m_stop)
      vx::GameManager::getInstance().setGameOver();
    return 1;
  }
};

// True once the condition holds; false after the timeout.
bool waitFor(const std::function<bool()> &done, std::chrono::milliseconds timeout = 5000ms) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end)
      return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

// Processor time a thread has used, in seconds.
double cpuSeconds(pthread_t thread) {
  clockid_t clock;
  struct timespec now {};
  if (pthread_getcpuclockid(thread, &clock) != 0 || clock_gettime(clock, &now) != 0)
    return -1;
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// A started engine with a window that has the keyboard focus, a pause object
// bound to F10 and a step counter. play() runs the game loop while a script
// presses keys from a second thread.
class PauseWindow : public ::testing::Test {
 protected:
  vxtest::TempDir m_dir;
  std::unique_ptr<vxtest::ScopedEnv> m_config_env, m_log_env;
  std::string m_window;
  std::atomic<int> m_steps{0};
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_loop_ended{false};

  void SetUp() override {
    vxtest::writeFile(m_dir.file("vx-config.txt"), WINDOW_CONFIG);
    m_config_env = std::make_unique<vxtest::ScopedEnv>("VEXLO_CONFIG", m_dir.file("vx-config.txt"));
    m_log_env = std::make_unique<vxtest::ScopedEnv>("VEXLO_LOG", m_dir.file("vexlo.log"));
    ASSERT_EQ(vx::GameManager::getInstance().startUp(), 0);
    vx::LogManager::getInstance().setFlush(true);
    m_window = std::to_string(static_cast<unsigned long>(
        vx::DisplayManager::getInstance().getWindow()->getSystemHandle()));
    runCommand("xdotool keyup F10 space");
    // Keys go to the focused window; there is no window manager to give it focus.
    ASSERT_TRUE(waitFor([this] {
      runCommand("xdotool windowfocus " + m_window);
      vx::InputManager::getInstance().getInput();
      return vxtest::commandOutput("xdotool getwindowfocus") == m_window;
    })) << "the window never got the keyboard focus";
    new Stepper(m_steps, m_stop);
    new vx::Pause(vx::Keyboard::F10);
  }

  void TearDown() override {
    // The X server outlives this process: never leave a key down.
    runCommand("xdotool keyup F10 space");
    vx::GameManager::getInstance().shutDown();
  }

  bool logged(const std::string &text) const {
    for (const std::string &line : vxtest::readLines(m_dir.file("vexlo.log")))
      if (vxtest::logMessage(line).find(text) != std::string::npos)
        return true;
    return false;
  }

  // Runs the game loop until game over while the script runs on a thread of
  // its own. Should the loop outlive the script, a close request ends it (and
  // a key press frees a pause that ignores it), so a failure cannot hang.
  void play(const std::function<void(pthread_t loop_thread)> &script) {
    const pthread_t loop_thread = pthread_self();
    std::thread player([&] {
      script(loop_thread);
      m_stop = true;
      if (!waitFor([this] { return m_loop_ended.load(); }, 3000ms)) {
        ADD_FAILURE() << "the game loop did not end";
        vxtest::requestClose(std::stoul(m_window));
        runCommand("xdotool key space");
      }
    });
    vx::GameManager::getInstance().run();
    m_loop_ended = true;
    player.join();
  }

  // Presses F10 and waits until the pause has begun.
  bool pause() {
    return waitFor([this] { return m_steps >= 3; }) && runCommand("xdotool keydown F10") &&
           waitFor([this] { return logged("Pause::eventHandler(): Game paused."); });
  }
};

} // namespace

TEST_F(PauseWindow, F10PausesIdlyUntilAKeyIsPressed) {
  int paused_steps = -1, steps_after_a_second = -1, steps_after_release = -1;
  double cpu_share = -1;
  bool resumed = false, released_resumes = true;
  play([&](pthread_t loop_thread) {
    if (!pause())
      return;
    std::this_thread::sleep_for(100ms);
    paused_steps = m_steps;
    const double cpu_before = cpuSeconds(loop_thread);
    const auto before = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(1s);
    cpu_share = (cpuSeconds(loop_thread) - cpu_before) /
                std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
    steps_after_a_second = m_steps;

    runCommand("xdotool keyup F10");
    std::this_thread::sleep_for(500ms);
    steps_after_release = m_steps;
    released_resumes = logged("Game resumed.");

    runCommand("xdotool key space");
    resumed = waitFor([&] { return m_steps > steps_after_release; });
  });

  ASSERT_GE(paused_steps, 3) << "the game never paused";
  EXPECT_EQ(steps_after_a_second, paused_steps) << "steps ran while paused";
  EXPECT_LT(cpu_share, 0.05) << "the paused loop kept the processor busy";
  EXPECT_EQ(steps_after_release, paused_steps);
  EXPECT_FALSE(released_resumes) << "a key release resumed the game";
  EXPECT_TRUE(resumed);
  EXPECT_TRUE(logged("Pause::eventHandler(): Keypressed."));
  EXPECT_TRUE(logged("Pause::eventHandler(): Game resumed."));
  std::printf("Paused game loop used %.2f%% of a core.\n", cpu_share * 100);
}

TEST_F(PauseWindow, ClosingTheWindowWhilePausedEndsTheGame) {
  bool paused = false, ended = false;
  play([&](pthread_t) {
    paused = pause();
    if (!paused)
      return;
    runCommand("xdotool keyup F10");
    vxtest::requestClose(std::stoul(m_window));
    ended = waitFor([this] { return m_loop_ended.load(); });
  });
  ASSERT_TRUE(paused);
  EXPECT_TRUE(ended);
  EXPECT_TRUE(logged("Pause::eventHandler(): Window closed. Setting game over."));
  EXPECT_FALSE(logged("Game resumed."));
  EXPECT_TRUE(vx::GameManager::getInstance().getGameOver());
}

// While paused the picture says so and the music holds its place; when the
// game goes on the music plays on from there and the swatter catches up with
// where the pointer went meanwhile.
TEST_F(PauseWindow, PauseShowsItsBoxHoldsTheMusicAndTheSwatterCatchesUp) {
  vxtest::AudioOutput output = vxtest::AudioOutput::silent();
  vxtest::writeSineWav(m_dir.file("tune.wav"), 30);
  vx::ResourceManager &resources = vx::ResourceManager::getInstance();
  ASSERT_EQ(resources.loadMusic(m_dir.file("tune.wav"), "tune"), 0);
  vx::Music *p_music = resources.getMusic("tune");
  p_music->play(true);
  Swatter *p_swatter = new Swatter;
  const vx::Vector pointer = vx::DisplayManager::getInstance().windowToView(vx::Vector(200, 100));
  sf::Image shot;
  float held_from = -1, held_to = -1, played_on = -1;
  double resumed_for = -1;
  play([&](pthread_t) {
    if (!pause())
      return;
    std::this_thread::sleep_for(300ms);
    held_from = p_music->getPlayingOffset();
    runCommand("import -window " + m_window + " " + m_dir.file("paused.png"));
    shot.loadFromFile(m_dir.file("paused.png"));
    runCommand("xdotool mousemove --window " + m_window + " 200 100");
    std::this_thread::sleep_for(500ms);
    held_to = p_music->getPlayingOffset();
    runCommand("xdotool keyup F10 key space");
    const auto resumed = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(500ms);
    played_on = p_music->getPlayingOffset();
    resumed_for = std::chrono::duration<double>(std::chrono::steady_clock::now() - resumed).count();
  });

  // The box: a yellow line framed in white across the middle rows of the view.
  ASSERT_EQ(shot.getSize(), sf::Vector2u(1024, 768));
  const int line = vxtest::countColor(shot, sf::Color::Yellow, 320, 384, 704, 416);
  EXPECT_GT(line, 200);
  EXPECT_EQ(vxtest::countColor(shot, sf::Color::Yellow), line);
  EXPECT_GT(vxtest::countColor(shot, sf::Color::White, 320, 352, 704, 448), 200);
  EXPECT_NEAR(held_to, held_from, 0.05f) << "the music played on while paused";
  EXPECT_LE(played_on - held_to, resumed_for + 0.2) << "the music did not go on from its place";
  EXPECT_GT(played_on - held_to, 0.2f);
  EXPECT_EQ(p_swatter->getPosition(), pointer) << "the swatter is not under the pointer";
}
