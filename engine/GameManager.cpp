#include "GameManager.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <ctime>

#include "Clock.h"
#include "Config.h"
#include "DisplayManager.h"
#include "EventStep.h"
#include "Grid.h"
#include "InputManager.h"
#include "LateStepLog.h"
#include "LockstepMatch.h"
#include "LogManager.h"
#include "NetworkManager.h"
#include "PathManager.h"
#include "Recorder.h"
#include "ResourceManager.h"
#include "WorldManager.h"
#include "utility.h"

namespace vx {

namespace {

const char *const ASTERISKS = "****************************************************";

// How long a held loop sleeps between looks at whether it may go on.
const int64_t HOLD_SLICE_MICROSECONDS = 25000;

// Sleeps for the given number of microseconds, resuming after signals.
//
// In the browser the sleep hands the page's thread back to the browser for
// that long (in whole milliseconds, which its timers count in): the stack is
// unwound and later rewound (Asyncify), which only the functions on a chain
// of direct calls down to this sleep are built for (VexloWeb.cmake). These
// are the program's only sleeps, and only the game loop calls them: main(),
// splash() and run() are that chain, and the step's own work (events through
// virtual handlers, the world, drawing) is never on the stack when it sleeps.
// A wait asked for inside a step (the pause) is a hold, slept out here.
void sleepMicroseconds(int64_t microseconds) {
#ifdef __EMSCRIPTEN__
  emscripten_sleep(static_cast<unsigned int>((microseconds + 500) / 1000));
  return;
#endif
  struct timespec request;
  request.tv_sec = static_cast<time_t>(microseconds / 1000000);
  request.tv_nsec = static_cast<long>(microseconds % 1000000) * 1000;
  while (nanosleep(&request, &request) != 0 && errno == EINTR) {
  }
}

// A step that did not sleep (late, or a fast replay) still hands the page's
// thread back to the browser now and then, so that the page keeps showing
// frames and taking input; elsewhere nothing waits on the loop.
void keepPageResponsive() {
#ifdef __EMSCRIPTEN__
  static Clock s_since_yield;
  if (s_since_yield.split() >= 50000) {
    emscripten_sleep(0);
    s_since_yield.delta();
  }
#endif
}

// What the game manager logs when it starts or stops another manager.
struct ManagerLines {
  const char *failed;  // Written when it does not start.
  const char *started; // Written, at level 1, when it starts.
  const char *stopped; // Written, at level 1, when it stops.
};

const ManagerLines DISPLAY_LINES = {"GameManager::startUp(): Error! Starting display manager.",
                                    "Display manager started.", "Display manager stopped"};
const ManagerLines INPUT_LINES = {"GameManager::startUp(): Error! Starting input manager.",
                                  "Input manager started.", "Input manager stopped"};
const ManagerLines NETWORK_LINES = {"GameManager::startUp(): Error! Starting network manager.",
                                    "Network manager started.", "Network manager stopped"};
const ManagerLines RESOURCE_LINES = {"GameManager::startUp(): Error! Starting resource manager.",
                                     "Resource manager started.", "Resource manager stopped"};
const ManagerLines WORLD_LINES = {"GameManager::startUp(): Error starting world manager.",
                                  "World manager started.", "World manager stopped"};
const ManagerLines PATH_LINES = {"GameManager::startUp(): Error starting path manager.",
                                 "Path manager started.", "Path manager stopped"};

// Starts a manager, logging the outcome. 0 or -1.
int startManager(Manager &manager, const ManagerLines &lines) {
  if (manager.startUp() != 0) {
    LogManager::getInstance().writeLog("%s", lines.failed);
    return -1;
  }
  LogManager::getInstance().writeLog(1, "%s", lines.started);
  return 0;
}

// Stops a manager that is started, logging it.
void stopManager(Manager &manager, const ManagerLines &lines) {
  if (!manager.isStarted())
    return;
  manager.shutDown();
  LogManager::getInstance().writeLog(1, "%s", lines.stopped);
}

// Whether a world of this many cells fits the collision grid; the refusal
// is logged (always, when `refused` says it was).
bool worldFitsGrid(int columns, int rows, bool refused = false) {
  const Config &config = Config::getInstance();
  if (!refused && gridFits(static_cast<float>(columns), static_cast<float>(rows),
                           config.getGridWidth(), config.getGridHeight()))
    return true;
  LogManager::getInstance().writeLog("GameManager::startUp(): Error! The world of %d x %d cells "
                                     "is too large for the collision grid.", columns, rows);
  return false;
}

} // namespace

GameManager::GameManager()
    : m_game_over(false), m_frame_time(0), m_step_count(0), m_p_hold(nullptr) {
  setType("GameManager");
}

GameManager &GameManager::getInstance() {
  static GameManager game_manager;
  return game_manager;
}

bool GameManager::isValid(std::string event_type) const { return event_type == STEP_EVENT; }

int GameManager::startUp() {
  if (isStarted())
    return warnAlreadyStarted(*this);

  // A closed standard output (a replay piped into a program that ended) or
  // socket gives EPIPE instead of ending the program.
  std::signal(SIGPIPE, SIG_IGN);

  Config &config = Config::getInstance();
  config.loadConfig("");

  LogManager &log_manager = LogManager::getInstance();
  if (log_manager.startUp() != 0) {
    log_manager.writeLog("GameManager::startUp(): Error! Starting log manager.");
    return -1;
  }
  logLibraryMessages();
  log_manager.writeLog("%s", ASTERISKS);
  log_manager.writeLog("** Vexlo version %.2f **", static_cast<double>(VEXLO_VERSION));
  log_manager.writeLog("** Game engine started **");
  log_manager.writeLog("%s", ASTERISKS);
  config.logConfig();

  char cwd[256];
  log_manager.writeLog(1, "Working directory:");
  log_manager.writeLog(1, "  %s", getcwd(cwd, sizeof(cwd)) != nullptr ? cwd
                                                                      : "(full path too long)");
  log_manager.writeLog(1, "Log Manager started.");

  m_frame_time = config.getFrameTime();
  log_manager.writeLog(5, "GameManager::startUp(): frame time is %d milliseconds", m_frame_time);

  // A world too large for the collision grid is refused before any display
  // makes room for its cells, the same way in every display.
  if (!worldFitsGrid(config.getWindowHorizontalChars(), config.getWindowVerticalChars()))
    return -1;

  // Each manager starts only when those before it did.
  if (startManager(DisplayManager::getInstance(), DISPLAY_LINES) != 0 ||
      startManager(InputManager::getInstance(), INPUT_LINES) != 0 ||
      (config.getNetworking() &&
       startManager(NetworkManager::getInstance(), NETWORK_LINES) != 0) ||
      startManager(ResourceManager::getInstance(), RESOURCE_LINES) != 0 ||
      startManager(WorldManager::getInstance(), WORLD_LINES) != 0 ||
      startManager(PathManager::getInstance(), PATH_LINES) != 0)
    return -1;

  // A match with another machine agrees on the seed and the frame time
  // before anything is recorded.
  if (LockstepMatch::getInstance().startUp() != 0) {
    log_manager.writeLog("GameManager::startUp(): Error! Starting the match.");
    return -1;
  }

  // A game being recorded or replayed: its record decides the seed and, for
  // a fast replay, the frame time the game runs at (the loop then does not
  // sleep; the game still counts its seconds in the record's steps).
  Recorder &recorder = Recorder::getInstance();
  if (recorder.startUp() != 0) {
    log_manager.writeLog("GameManager::startUp(): Error! Starting recorder.");
    return -1;
  }
  m_frame_time = config.getFrameTime();

  WorldManager &world_manager = WorldManager::getInstance();
  // The world and the view start as the window's size in cells.
  const DisplayManager &display_manager = DisplayManager::getInstance();
  Box window(Vector(0, 0), static_cast<float>(display_manager.getHorizontal()),
             static_cast<float>(display_manager.getVertical()));
  if (world_manager.setBoundary(window) != 0) {
    worldFitsGrid(display_manager.getHorizontal(), display_manager.getVertical(), true);
    return -1;
  }
  world_manager.setView(window);
  world_manager.setViewSlack(Vector(1.0f / 3, 1.0f / 3));

  seedGenerator();

  m_game_over = false;
  Manager::startUp();
  log_manager.writeLog(1, "GameManager successfully started.");
  return 0;
}

void GameManager::seedGenerator() const {
  int seed = Config::getInstance().getRandomSeed();
  if (seed == 0)
    seed = static_cast<int>(static_cast<unsigned int>(std::time(nullptr)));
  seed = LockstepMatch::getInstance().chooseSeed(seed);
  seed = Recorder::getInstance().chooseSeed(seed);
  if (seed == -1)
    return;
  LogManager::getInstance().writeLog(10, "GameManager()::startUp(): srand() seed with %d", seed);
  vx::seedRandom(static_cast<unsigned int>(seed));
}

void GameManager::shutDown() {
  m_game_over = true;
  m_p_hold = nullptr;
  LogManager &log_manager = LogManager::getInstance();
  if (Recorder::getInstance().isStarted())
    Recorder::getInstance().shutDown();
  if (LockstepMatch::getInstance().isStarted())
    LockstepMatch::getInstance().shutDown();
  stopManager(PathManager::getInstance(), PATH_LINES);
  stopManager(WorldManager::getInstance(), WORLD_LINES);
  stopManager(ResourceManager::getInstance(), RESOURCE_LINES);
  if (Config::getInstance().getNetworking())
    stopManager(NetworkManager::getInstance(), NETWORK_LINES);
  stopManager(InputManager::getInstance(), INPUT_LINES);
  stopManager(DisplayManager::getInstance(), DISPLAY_LINES);
  // A replay's verdict, held back while the terminal showed the game.
  Recorder::getInstance().sayHeld();
  log_manager.writeLog("%s", ASTERISKS);
  log_manager.writeLog("** Game engine stopped **");
  if (log_manager.isStarted())
    log_manager.shutDown();
  Manager::shutDown();
}

void GameManager::run() {
  Clock clock;
  const LogManager &log_manager = LogManager::getInstance();
  log_manager.writeLog(1, "GameManager::run(): starting game loop");
  m_game_over = false;
  m_step_count = 0;
  int64_t adjust = 0; // Oversleep of the last frame, taken off the next one.
  LateStepLog late_steps;
  // The pace of the loop in microseconds: none for a fast replay.
  const int64_t frame_time =
      Recorder::getInstance().isFast() ? 0 : static_cast<int64_t>(m_frame_time) * 1000;

  LockstepMatch &match = LockstepMatch::getInstance();
  do {
    // A hold asked for during the last step keeps the next one waiting.
    waitWhileHeld();
    if (m_game_over)
      break;
    // In a match a step runs once both players' input for it is there.
    if (!match.gateStep())
      break;
    clock.delta();

    EventStep step(m_step_count);
    onEvent(&step);

    DisplayManager::getInstance().swapBuffers();
    InputManager::getInstance().getInput();
    WorldManager::getInstance().update();
    WorldManager::getInstance().draw();

    // The network manager runs only when networking is on.
    NetworkManager &network_manager = NetworkManager::getInstance();
    if (Config::getInstance().getNetworking() && network_manager.isStarted()) {
      if (network_manager.isServer())
        network_manager.accept();
      if (network_manager.isConnected(-1))
        network_manager.sendQueued();
    }

    // Path searches get 95% of what is left of the frame.
    const int64_t left = frame_time - clock.split() - adjust;
    PathManager::getInstance().cycle(static_cast<int>(static_cast<float>(left) * 0.95f / 1000));
    Recorder::getInstance().endStep();
    match.endStep();

    int64_t elapsed = clock.split();
    int64_t remaining = frame_time - elapsed - adjust;
    if (remaining > 0) {
      // nanosleep is precise to the microsecond, so the whole remainder is
      // slept rather than whole milliseconds of it.
      int64_t before = clock.split();
      sleepMicroseconds(remaining);
      int64_t after = clock.split();
      adjust = after - before - remaining;
      if (adjust < 0)
        adjust = 0;
    } else if (adjust != 0) {
      adjust = 0;
      keepPageResponsive();
    } else {
      if (frame_time > 0 && m_step_count > 0)
        late_steps.lateStep(m_frame_time, elapsed);
      keepPageResponsive();
    }
    m_step_count++;
  } while (!m_game_over);

  log_manager.writeLog(1, "GameManager::run(): end of game loop");
}

void GameManager::waitWhileHeld() {
  while (m_p_hold != nullptr && !m_game_over) {
    sleepMicroseconds(HOLD_SLICE_MICROSECONDS);
    if (m_p_hold != nullptr && !m_p_hold())
      m_p_hold = nullptr;
  }
}

void GameManager::hold(bool (*p_still_held)()) { m_p_hold = p_still_held; }

bool GameManager::isHeld() const { return m_p_hold != nullptr; }

void GameManager::setGameOver(bool game_over) { m_game_over = game_over; }

bool GameManager::getGameOver() const { return m_game_over; }

int GameManager::getFrameTime() const { return m_frame_time; }

int GameManager::getStepCount() const { return m_step_count; }

} // namespace vx
