// The real program played in a real terminal: a detached tmux pane of 80 x 24
// running a shell, keys and SGR mouse reports typed into it, the screen read
// back with capture-pane. Every way out must leave the terminal as it was.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Recorder.h"
#include "SwatRecording.h"
#include "TestSupport.h"

namespace {

std::string run(const std::string &command) {
  std::string output;
  FILE *p_pipe = popen(command.c_str(), "r");
  if (p_pipe == nullptr)
    return output;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof(buffer), p_pipe)) > 0;)
    output.append(buffer, n);
  pclose(p_pipe);
  return output;
}

// A shell in a tmux pane on a server of the test's own.
class Pane {
 private:
  static inline int s_panes = 0;
  std::string m_tmux; // tmux on a server of this pane's own.

 public:
  explicit Pane(const vxtest::TempDir &dir)
      : m_tmux("tmux -L vexlo-test-" + std::to_string(getpid()) + "-" + std::to_string(s_panes++) +
               " ") {
    run(m_tmux + "-f /dev/null new-session -d -x 80 -y 24 -c '" + dir.path() +
        "' 'env -u TMUX bash --norc --noprofile'");
  }
  ~Pane() { run(m_tmux + "kill-server 2>/dev/null"); }

  std::string tmux(const std::string &args) const { return run(m_tmux + args); }
  std::string screen() const { return tmux("capture-pane -p"); }
  void keys(const std::string &args) const { tmux("send-keys " + args); }
  void literal(const std::string &text) const { tmux("send-keys -l '" + text + "'"); }

  // Waits until the screen matches, up to a time limit; returns the match.
  std::string waitFor(const std::string &pattern, int seconds) const {
    const std::regex expression(pattern);
    for (int tries = 0; tries < seconds * 10; tries++) {
      const std::string text = screen();
      std::smatch match;
      if (std::regex_search(text, match, expression))
        return match.str(0);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return "";
  }

  // Waits until two looks a moment apart show the same screen, up to a time
  // limit; returns that screen.
  std::string waitForStill(int seconds) const {
    std::string before = screen();
    for (int tries = 0; tries < seconds * 5; tries++) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      const std::string now = screen();
      if (now == before)
        return now;
      before = now;
    }
    return before;
  }

  // The program the shell runs: the shell's only child.
  std::string programPid() const {
    const std::string shell = tmux("display -p '#{pane_pid}'");
    const std::string pid = std::to_string(std::stoi(shell));
    return run("cat /proc/" + pid + "/task/" + pid + "/children");
  }

  // Alternate screen, cursor shown, mouse reporting, as tmux sees the pane.
  std::string modes() const {
    return tmux("display -p '#{alternate_on} #{cursor_flag} #{mouse_any_flag}'");
  }
};

std::vector<std::string> lines(const std::string &text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    result.push_back(line);
  return result;
}

// Moves the mouse to a cell (1-based) and clicks there.
bool clickAt(const Pane &pane, int col, int row) {
  const std::string where = std::to_string(col) + ";" + std::to_string(row);
  pane.literal("\x1b[<35;" + where + "M");
  pane.literal("\x1b[<0;" + where + "M");
  return true;
}

// Clicks at the middle of a fly on the screen, preferring one that stood
// still between two looks (a moving fly may be gone by the time the click
// arrives); false when none shows.
bool clickFly(const Pane &pane) {
  const std::regex fly(R"([\\/-]@[\\/-]|\(@\)|[\\/-]o[\\/-])");
  const std::vector<std::string> before = lines(pane.screen());
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  const std::vector<std::string> now = lines(pane.screen());
  int col = 0, row = 0;
  for (std::size_t r = 0; r < now.size(); r++)
    for (auto it = std::sregex_iterator(now[r].begin(), now[r].end(), fly);
         it != std::sregex_iterator(); ++it) {
      const std::string found = it->str(0);
      const auto start = static_cast<std::size_t>(it->position(0));
      const int middle = static_cast<int>(start + found.size() / 2) + 1;
      if (r < before.size() && before[r].size() >= start + found.size() &&
          before[r].compare(start, found.size(), found) == 0)
        return clickAt(pane, middle, static_cast<int>(r) + 1);
      if (row == 0) {
        col = middle;
        row = static_cast<int>(r) + 1;
      }
    }
  return row != 0 && clickAt(pane, col, row);
}

struct Game {
  vxtest::TempDir dir;
  Pane pane{dir};

  // Starts swat in the pane, noting the terminal's settings before and after.
  explicit Game(const std::string &config, const std::string &arguments = "") {
    vxtest::writeFile(dir.file("config.txt"), config);
    pane.keys("'clear; stty -g > before; cd " + std::string(VEXLO_RUN_DIR) +
              "; VEXLO_CONFIG=" + dir.file("config.txt") + " VEXLO_LOG=" + dir.file("log") +
              " " + VEXLO_SWAT_PATH + " --terminal " + arguments + "; echo EXIT=$?; cd " +
              dir.path() + "; stty -g > after' Enter");
  }

  // The program ended with an exit code matching `codes` and gave the
  // terminal back as it was (its mode only, when `stalled`: a terminal that
  // took no output then did not get the sequences either).
  void expectGivenBack(const std::string &codes, bool stalled = false) const {
    const std::string ended = pane.waitFor("EXIT=[0-9]+", 20);
    EXPECT_TRUE(std::regex_match(ended, std::regex("EXIT=(" + codes + ")"))) << pane.screen();
    if (!stalled) {
      EXPECT_EQ(pane.modes(), "0 1 0\n");
    }
    // The shell notes the settings after it printed the exit code.
    vxtest::waitFor([this] { return vxtest::readFile(dir.file("after")).find('\n') != std::string::npos; },
                    20);
    EXPECT_EQ(vxtest::readFile(dir.file("before")), vxtest::readFile(dir.file("after")));
    EXPECT_NE(vxtest::readFile(dir.file("before")), "");
  }

  std::string log() const { return vxtest::readFile(dir.file("log")); }

  // Whether the log comes to hold the text within the time limit.
  bool logShows(const std::string &text, int seconds) const {
    return vxtest::waitFor([&] { return log().find(text) != std::string::npos; }, seconds);
  }
};

const char *const CONFIG = "networking:false,";
const char *const TITLE = "[A-Z ]+: [^ ]";

TEST(SwatTerminal, PlaysPausesAndQuits) {
  Game game(CONFIG);
  ASSERT_NE(game.pane.waitFor("P to play", 30), "") << game.pane.screen();
  EXPECT_EQ(game.pane.modes(), "1 0 1\n");
  game.pane.keys("p");
  ASSERT_NE(game.pane.waitFor(TITLE, 20), "") << game.pane.screen();

  // Clicking at flies swats them: a splat shows, or the streak grows. The
  // clicks follow each other as fast as the screen can be read (a large fly
  // takes five), and a run lost first (a fly too fast for this, a minigame
  // that wants no fly hit) is started again: on a busy machine the minigames
  // a run draws take their time, so the limit is generous.
  const std::regex swat_shows(":%@%:|Streak [1-9]");
  bool swatted = false;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(90);
  while (!swatted && std::chrono::steady_clock::now() < give_up) {
    const std::string screen = game.pane.screen();
    swatted = std::regex_search(screen, swat_shows);
    if (swatted)
      break;
    if (screen.find("P to play") != std::string::npos) {
      game.pane.keys("p");
      ASSERT_NE(game.pane.waitFor(TITLE, 20), "") << game.pane.screen();
    } else if (!clickFly(game.pane)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  EXPECT_TRUE(swatted) << game.pane.screen();

  // Paused, nothing moves until a key is pressed. On a busy machine the key
  // and the pause's picture take their time: the look starts once the game
  // says it paused and the picture has all reached the terminal.
  game.pane.keys("F10");
  ASSERT_TRUE(game.logShows("Game paused.", 20)) << game.log();
  ASSERT_NE(game.pane.waitFor("PAUSED", 20), "") << game.pane.screen();
  const std::string paused = game.pane.waitForStill(20);
  std::this_thread::sleep_for(std::chrono::milliseconds(1000)); // The time nothing may move.
  EXPECT_EQ(game.pane.screen(), paused);
  game.pane.keys("x");
  EXPECT_TRUE(game.logShows("Game resumed.", 20)) << game.log();

  // Back at the start screen once the run is lost, q quits.
  ASSERT_NE(game.pane.waitFor("P to play", 90), "") << game.pane.screen();
  game.pane.keys("q");
  game.expectGivenBack("0");
  EXPECT_NE(game.log().find("Game engine stopped"), std::string::npos);
}

struct WayOut {
  const char *name;
  const char *config;
  bool mid_minigame;                    // Ends it during a minigame, else at the start screen.
  std::function<void(const Game &)> end; // Ends the program.
  const char *codes; // The exit codes it may give, as a pattern.
  const char *log_line; // In the log, or "" for none.
  const char *screen = ""; // On the terminal given back, or "" for nothing asked.
  const char *arguments = ""; // More of the command line ("RECORD" names a record).
  int replayed = -1;          // What replaying that record then exits with (-1: not replayed).
  const char *verdict = "";   // And says.
};

void sendSignal(const Game &game, const char *name) {
  run(std::string("kill -") + name + " " + game.pane.programPid());
}

// Freezes the terminal (its tmux server stops reading) with its output
// buffer full, sends SIGTERM, and lets the terminal go on once the game ended.
void endWhileStalled(const Game &game) {
  const std::string server = game.pane.tmux("display -p '#{pid}'"), pid = game.pane.programPid();
  run("kill -STOP " + server);
  const int terminal = open(("/proc/" + std::to_string(std::stoi(pid)) + "/fd/0").c_str(),
                            O_WRONLY | O_NONBLOCK | O_NOCTTY);
  while (write(terminal, "x", 1) == 1) {
  }
  close(terminal);
  std::this_thread::sleep_for(std::chrono::milliseconds(500)); // A frame meets the full buffer.
  run("kill -TERM " + pid);
  for (int tries = 0; tries < 100 && game.log().find("engine stopped") == std::string::npos; tries++)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_NE(game.log().find("engine stopped"), std::string::npos) << "ended only once resumed";
  run("kill -CONT " + server);
}

TEST(SwatTerminal, EveryWayOutGivesTheTerminalBack) {
  const WayOut cases[] = {
      {"SIGTERM", CONFIG, true, [](const Game &g) { sendSignal(g, "TERM"); }, "0", "SIGTERM received"},
      {"SIGTERM, the terminal stalled", CONFIG, true, endWhileStalled, "0", "SIGTERM received"},
      {"SIGHUP", CONFIG, false, [](const Game &g) { sendSignal(g, "HUP"); }, "0", "SIGHUP received"},
      {"Ctrl-C", CONFIG, true, [](const Game &g) { g.pane.keys("C-c"); }, "0", "SIGINT received"},
      // Killed by the signal, or ended by the address sanitizer's report
      // (aborting after it when asked to).
      {"crash", CONFIG, false, [](const Game &g) { sendSignal(g, "SEGV"); }, "139|134|1", ""},
      {"failed start-up", "networking:false,grid_width:0,", false, nullptr, "1", "Error starting",
       "did not start"},
      {"a grid too large", "networking:false,window_horizontal_chars:100000,window_vertical_chars:"
       "100000,", false, nullptr, "1", "too large for the collision grid", "did not start"},
      // A record made in a game that ends abnormally keeps what was played.
      {"Ctrl-\\ recording", CONFIG, true, [](const Game &g) { g.pane.keys("-H 1c"); }, "0",
       "SIGQUIT received", "", "--record RECORD", 0, "Replay matched the record"},
      {"crash recording", CONFIG, true, [](const Game &g) { sendSignal(g, "SEGV"); }, "139|134|1",
       "", "", "--record RECORD", vx::REPLAY_UNENDED_RECORD, "without its end mark"},
      {"a record that cannot be written", CONFIG, false, [](const Game &g) { sendSignal(g, "TERM"); },
       "6", "Cannot write", "Cannot write the record", "--record /dev/full"},
      {"a replay's verdict", CONFIG, false, nullptr, "0", "", "Replay matched the record",
       "--fast --replay " VEXLO_SOURCE_DIR "/tests/game/data/swat-game.vxr"},
  };
  for (const WayOut &way : cases) {
    SCOPED_TRACE(way.name);
    std::string arguments = way.arguments;
    const std::string record = vxtest::TempDir().path() + ".vxr";
    if (arguments.find("RECORD") != std::string::npos)
      arguments.replace(arguments.find("RECORD"), 6, record);
    Game game(way.config, arguments);
    if (way.end) {
      ASSERT_NE(game.pane.waitFor("P to play", 30), "") << game.pane.screen();
      if (way.mid_minigame) {
        game.pane.keys("p");
        ASSERT_NE(game.pane.waitFor("Time [0-9]+", 20), "") << game.pane.screen();
      }
      way.end(game);
    }
    game.expectGivenBack(way.codes, std::string(way.name).find("stalled") != std::string::npos);
    EXPECT_NE(game.pane.screen().find(way.screen), std::string::npos) << game.pane.screen();
    if (way.replayed >= 0) {
      const vxtest::ReplayOutcome replay = vxtest::runSwat("", "--replay '" + record + "' --fast");
      EXPECT_EQ(replay.exit_code, way.replayed) << replay.err;
      EXPECT_NE(replay.out.find(way.verdict), std::string::npos) << replay.out << replay.err;
    }
    std::remove(record.c_str());
    if (way.log_line[0] != '\0') {
      EXPECT_NE(game.log().find(way.log_line), std::string::npos) << game.log();
    }
  }
}

TEST(SwatTerminal, APauseFollowsTheTerminalAndAStopGivesItBackUntilContinued) {
  Game game(CONFIG);
  ASSERT_NE(game.pane.waitFor("P to play", 30), "") << game.pane.screen();
  game.pane.keys("p");
  ASSERT_NE(game.pane.waitFor("Time [0-9]+", 20), "") << game.pane.screen();
  // Paused, a resize is drawn at once: too small, then large enough again.
  game.pane.keys("F10");
  ASSERT_NE(game.pane.waitFor("PAUSED", 5), "") << game.pane.screen();
  game.pane.tmux("resize-window -x 60 -y 20");
  EXPECT_NE(game.pane.waitFor("at least 80 x 24", 5), "") << game.pane.screen();
  game.pane.tmux("resize-window -x 80 -y 24");
  EXPECT_NE(game.pane.waitFor("PAUSED", 5), "") << game.pane.screen();
  // The pointer moves during the pause: once resumed, the swatter is there.
  game.pane.literal("\x1b[<35;70;20M");
  game.pane.keys("x");
  ASSERT_NE(game.pane.waitFor("Time", 5), "");
  game.pane.keys("F10");
  ASSERT_NE(game.pane.waitFor("PAUSED", 5), "");
  EXPECT_EQ(lines(game.pane.screen()).at(19).find("[ ]"), 68u) << game.pane.screen();
  game.pane.keys("x");
  // Stopped from outside, the shell has the terminal; continued, the game has it.
  sendSignal(game, "TSTP");
  EXPECT_NE(game.pane.waitFor("Stopped", 10), "") << game.pane.screen();
  EXPECT_EQ(game.pane.modes(), "0 1 0\n");
  game.pane.keys("fg Enter");
  EXPECT_NE(game.pane.waitFor("Streak|P to play", 10), "") << game.pane.screen();
  EXPECT_EQ(game.pane.modes(), "1 0 1\n");
  // Grown, then quit: nothing of the picture stays on the shell's screen.
  ASSERT_NE(game.pane.waitFor("P to play", 90), "") << game.pane.screen();
  game.pane.tmux("resize-window -x 120 -y 40");
  std::this_thread::sleep_for(std::chrono::milliseconds(300)); // The game sees the new size.
  game.pane.keys("q");
  for (int tries = 0; tries < 100 && game.pane.modes() != "0 1 0\n"; tries++)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_NE(game.log().find("Game engine stopped"), std::string::npos) << game.log();
  EXPECT_EQ(game.pane.screen().find("##"), std::string::npos) << game.pane.screen();
}

} // namespace

