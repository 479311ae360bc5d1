// The real program under a display: swat runs from the run directory as a
// child process, the keyboard reaches it through the X server (xdotool), its
// window is read back (ImageMagick's import), and its exit code, standard
// error and log are checked. Audio is left to OpenAL's own choice of output,
// as on a player's machine.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SFML/Graphics/Image.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "MinigameTable.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::seconds;

// A short frame keeps the intermissions brief (2.4 s); a minigame lasts its 10 s.
// The fixed seed makes the run of minigames the same every time.
const char *const SWAT_CONFIG = "frame_time:20,random_seed:20261207,networking:false,";

// The window's default size: 1024 x 768 pixels, 80 x 24 cells of 12.8 x 32.
const int WIDTH = 1024;
const int HEIGHT = 768;
const int TOP_ROWS = 64; // Rows 0 and 1, where the heads-up displays write their text.
const int COLUMN_24 = 307;
const int COLUMN_55 = 704;

// Pixels of one exact colour that make a display or a picture count as shown.
const int TEXT_PIXELS = 30;
const int PICTURE_PIXELS = 400;

const sf::Color YELLOW(255, 255, 0);
const sf::Color GREEN(0, 255, 0);
const sf::Color BLUE(0, 0, 255);
const sf::Color RED(255, 0, 0);
const sf::Color WHITE(255, 255, 255);

// What the window shows, told apart by the colours the engine and game draw.
struct Showing {
  bool splash;       // The engine's green banner.
  bool streak;       // The yellow streak display, top left.
  bool instructions; // The white instruction line, top centre.
  bool time_left;    // The blue time display, top right: a minigame is on.
  bool game_over;    // The red game-over picture, with no minigame on.
  bool start;        // The yellow start screen, with no run on.

  bool intermission() const { return streak && instructions && !time_left; }
};

Showing classify(const sf::Image &image) {
  using vxtest::countColor;
  Showing s;
  s.splash = countColor(image, GREEN) > PICTURE_PIXELS;
  s.streak = countColor(image, YELLOW, 0, 0, COLUMN_24, TOP_ROWS) > TEXT_PIXELS;
  s.instructions = countColor(image, WHITE, COLUMN_24, 0, COLUMN_55, TOP_ROWS) > TEXT_PIXELS;
  s.time_left = countColor(image, BLUE, COLUMN_55, 0, WIDTH, TOP_ROWS) > TEXT_PIXELS ||
                countColor(image, RED, COLUMN_55, 0, WIDTH, TOP_ROWS) > TEXT_PIXELS;
  s.game_over = !s.time_left && countColor(image, RED, 0, TOP_ROWS, WIDTH, HEIGHT) > PICTURE_PIXELS;
  s.start = !s.streak && countColor(image, YELLOW, 0, TOP_ROWS, WIDTH, HEIGHT) > PICTURE_PIXELS;
  return s;
}

// Polls until the condition holds; false after the timeout.
bool waitFor(const std::function<bool()> &done, Clock::duration timeout) {
  const auto end = Clock::now() + timeout;
  while (!done()) {
    if (Clock::now() > end)
      return false;
    std::this_thread::sleep_for(milliseconds(50));
  }
  return true;
}

// Runs swat in the run directory with a log and a configuration of the test's
// own, its standard output and error going to a file.
class SwatWindow : public ::testing::Test {
 protected:
  vxtest::TempDir m_dir;
  pid_t m_pid = -1;
  int m_exit_code = -1; // Set once the program has exited normally.
  std::string m_window; // The program's window id, for xdotool.

  std::string logPath() const { return m_dir.file("vexlo.log"); }
  std::string outputPath() const { return m_dir.file("output.txt"); }

  // Whether the program's standard output or error mentions the text (read
  // by grep: a program that floods them must not flood the test too).
  bool outputMentions(const std::string &text) const {
    return vxtest::runCommand("grep -qF '" + text + "' '" + outputPath() + "'");
  }

  // The last bytes of the program's output and of its log, for failure messages.
  std::string tails() const {
    return "output: ..." + lastBytes(outputPath()) + "\nlog: ..." + lastBytes(logPath());
  }

  static std::string lastBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : 0;
    const std::streamoff start = size > 1500 ? size - 1500 : 0;
    in.seekg(start);
    std::string text(static_cast<size_t>(size - start), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    return text;
  }

  void SetUp() override {
    vxtest::writeFile(m_dir.file("config.txt"), SWAT_CONFIG);
    // A test process that died mid-test may have left keys down.
    vxtest::runCommand("xdotool keyup p q");

    std::vector<std::string> env;
    for (char **p = environ; *p != nullptr; p++)
      if (std::strncmp(*p, "VEXLO_", 6) != 0)
        env.push_back(*p);
    env.push_back("VEXLO_LOG=" + logPath());
    env.push_back("VEXLO_CONFIG=" + m_dir.file("config.txt"));
    env.push_back("VEXLO_DATA_DIR=" + m_dir.path());
    std::vector<char *> envp;
    for (std::string &entry : env)
      envp.push_back(entry.data());
    envp.push_back(nullptr);
    const int out = open(outputPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(out, 0);

    m_pid = fork();
    ASSERT_GE(m_pid, 0);
    if (m_pid == 0) {
      char *argv[] = {const_cast<char *>(VEXLO_SWAT_PATH), nullptr};
      // The program goes with the test process, even when that is killed.
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (chdir(VEXLO_RUN_DIR) == 0 && dup2(out, 1) >= 0 && dup2(out, 2) >= 0)
        execve(VEXLO_SWAT_PATH, argv, envp.data());
      _exit(127);
    }
    close(out);

    ASSERT_TRUE(waitFor([this] {
      // The game names its window; the engine's default title would be "Vexlo".
      m_window = vxtest::commandOutput("xdotool search --onlyvisible --name '^Swat$'");
      return !m_window.empty() || exited();
    }, seconds(15))) << "no window appeared";
    ASSERT_FALSE(m_window.empty()) << "swat ended early:\n" << tails();
  }

  void TearDown() override {
    vxtest::runCommand("xdotool keyup p q");
    if (m_pid > 0 && !exited()) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
  }

  // Whether the program has ended; its exit code is then in m_exit_code.
  bool exited() {
    if (m_pid <= 0)
      return true;
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) != m_pid)
      return false;
    m_exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    m_pid = -1;
    return true;
  }

  // The window's picture now (all black when it cannot be read).
  sf::Image shot() const {
    const std::string shot = m_dir.file("shot.png");
    sf::Image image;
    if (!vxtest::runCommand("import -window " + m_window + " png:" + shot) || !image.loadFromFile(shot) ||
        image.getSize() != sf::Vector2u(WIDTH, HEIGHT))
      image.create(WIDTH, HEIGHT, sf::Color::Black);
    return image;
  }

  // What the window shows now (nothing recognised when it cannot be read).
  Showing showing() const { return classify(shot()); }

  bool waitForScreen(const std::function<bool(const Showing &)> &wanted, Clock::duration timeout) {
    return waitFor([&] { return wanted(showing()); }, timeout);
  }

  // Keys go to the focused window; there is no window manager to give it focus.
  void press(const std::string &key, const std::string &action = "key") {
    ASSERT_TRUE(waitFor([this] {
      vxtest::runCommand("xdotool windowfocus " + m_window);
      return vxtest::commandOutput("xdotool getwindowfocus") == m_window;
    }, seconds(5))) << "the window never got the keyboard focus";
    ASSERT_TRUE(vxtest::runCommand("xdotool " + action + " " + key));
  }

  // Waits for the program to end by itself, then checks how it ended.
  void expectCleanExit() {
    ASSERT_TRUE(waitFor([this] { return exited(); }, seconds(20))) << "swat did not end\n"
                                                                    << tails();
    EXPECT_EQ(m_exit_code, 0) << tails();
    EXPECT_FALSE(outputMentions("Sanitizer")) << tails();
    EXPECT_FALSE(outputMentions("runtime error")) << tails();
    // The window library's messages go to the log, not the terminal.
    EXPECT_FALSE(outputMentions("vertical sync")) << tails();
    const std::vector<std::string> lines = vxtest::readLines(logPath());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(vxtest::logMessage(lines.back()), "** Game engine stopped **");
    EXPECT_EQ(vxtest::logLinesContaining(logPath(), "** Game engine started **").size(), 1u);
    // Every sprite the game asks for is in the run directory and loads.
    EXPECT_TRUE(vxtest::logLinesContaining(logPath(), "Sprite '").empty());
  }

  // From the start: the splash plays and ends by itself, P starts a run, and
  // the first minigame begins after its intermission.
  void playIntoAMinigame() {
    ASSERT_TRUE(waitForScreen([](const Showing &s) { return s.splash; }, seconds(10)))
        << "no splash";
    ASSERT_TRUE(waitForScreen([](const Showing &s) { return s.start; }, seconds(15)))
        << "no start screen after the splash";
    press("p");
    ASSERT_TRUE(waitForScreen([](const Showing &s) { return s.intermission(); }, seconds(10)))
        << "P did not start a run";
    ASSERT_TRUE(waitForScreen([](const Showing &s) { return s.time_left; }, seconds(15)))
        << "the intermission did not lead to a minigame";
  }
};

} // namespace

TEST_F(SwatWindow, ARunEndsInGameOverThenTheStartScreenAndQEndsTheProgram) {
  ASSERT_NO_FATAL_FAILURE(playIntoAMinigame());
  EXPECT_TRUE(showing().streak);

  // Left alone, minigames run out of time; the first one lost shows the
  // game-over screen (a minigame that cannot be lost leads to the next one).
  ASSERT_TRUE(waitForScreen([](const Showing &s) { return s.game_over; }, seconds(60)))
      << "no game-over screen";
  EXPECT_FALSE(exited());
  ASSERT_TRUE(waitForScreen([](const Showing &s) { return s.start; }, seconds(10)))
      << "the game-over screen did not return to the start screen";
  EXPECT_FALSE(showing().streak);

  press("q");
  expectCleanExit();
}

TEST_F(SwatWindow, QDuringARunIsIgnoredAndClosingTheWindowEndsTheProgram) {
  ASSERT_NO_FATAL_FAILURE(playIntoAMinigame());
  press("q");
  std::this_thread::sleep_for(milliseconds(500));
  EXPECT_FALSE(exited()) << "Q ended a run in progress";

  ASSERT_TRUE(vxtest::requestClose(std::stoul(m_window)));
  expectCleanExit();
}

// Grey pixels at the bottom left: the dust of a miss (glyphs are white or coloured).
int greyPixels(const sf::Image &image) {
  int n = 0;
  for (int y = HEIGHT - 128; y < HEIGHT; y++)
    for (int x = 0; x < 160; x++) {
      const sf::Color c = image.getPixel(x, y);
      n += c.r == c.g && c.g == c.b && c.r > 40 && c.r < 200;
    }
  return n;
}

TEST_F(SwatWindow, SplashKeyRuleLineDustOnAMissAndTheLastSeconds) {
  ASSERT_TRUE(waitForScreen([](const Showing &s) { return s.splash; }, seconds(10)));
  press("p sleep 0.4 keyup p", "keydown"); // Held a moment: skips the splash only.
  ASSERT_TRUE(waitForScreen([](const Showing &s) { return s.start; }, seconds(15)));
  std::this_thread::sleep_for(seconds(2));
  ASSERT_TRUE(showing().start) << "the P that skipped the splash started a run";
  press("p");
  ASSERT_TRUE(waitForScreen([](const Showing &s) { return s.intermission(); }, seconds(10)));
  // The rule line's bars stand one cell outside its text, and no value between.
  const sf::Image rule = shot();
  int left = WIDTH, right = -1;
  for (int y = TOP_ROWS / 2; y < TOP_ROWS; y++)
    for (int x = 0; x < WIDTH; x++)
      if (rule.getPixel(x, y).r > 100 && rule.getPixel(x, y).b > 100) // White, smoothed.
        left = std::min(left, x), right = std::max(right, x);
  ASSERT_TRUE(waitForScreen([](const Showing &s) { return s.time_left; }, seconds(15)));
  std::string text;
  for (const MinigameRow &row : minigameTable())
    if (!vxtest::logLinesContaining(logPath(), ": " + row.name + ", ").empty())
      text = row.name + ": " + row.instruction;
  ASSERT_FALSE(text.empty()) << tails();
  EXPECT_EQ(std::lround((right - left) / (WIDTH / 80.0)), static_cast<long>(text.size()) + 3);

  // A click where no fly is raises grey dust there.
  ASSERT_TRUE(vxtest::runCommand("xdotool mousemove --window " + m_window + " 40 720"));
  std::this_thread::sleep_for(milliseconds(300));
  const int before = greyPixels(shot());
  ASSERT_TRUE(vxtest::runCommand("xdotool click 1"));
  EXPECT_GT(greyPixels(shot()), before + 150);
  // The time display turns red before the minigame ends.
  EXPECT_TRUE(waitFor([this] {
    return vxtest::countColor(shot(), RED, COLUMN_55, 0, WIDTH, TOP_ROWS) > TEXT_PIXELS;
  }, seconds(15)));
}
