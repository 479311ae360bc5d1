// Helpers for the game's tests: a headless, seeded engine that runs the game
// from a working directory of its own, and a bot that plays it through the
// same calls the player's input reaches.
#ifndef SWAT_BOT_H
#define SWAT_BOT_H

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "AudioTestSupport.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventStep.h"
#include "GameManager.h"
#include "InputManager.h"
#include "Pause.h"
#include "Recorder.h"
#include "TestSupport.h"
#include "WorldManager.h"
#include "swat.h"
#include "WorldGeometry.h"
#include "utility.h"

namespace vxtest {

// A started, headless engine running as fast as it can (frame time 0) with a
// fixed random seed, in a working directory holding the game's sprites and a
// short tone for each of its sounds, with audio going to a silent device. The
// game's resources are loaded and the start screen and pause object made, as
// the program does. Everything is shut down when the session goes away.
class SwatSession {
 private:
  TempDir m_dir;
  AudioOutput m_audio = AudioOutput::silent();
  ScopedEnv m_config;
  ScopedEnv m_log;
  ScopedEnv m_data; // The best streak is kept in the session's folder.
  std::string m_old_cwd;

 public:
  GameStart *p_start = nullptr;

  // Configuration given (a window: "headless:false,") goes before the
  // defaults, and the first setting of a key wins.
  explicit SwatSession(int seed, bool with_sprites = true, const std::string &config = "")
      : m_config("VEXLO_CONFIG", m_dir.file("config.txt")),
        m_log("VEXLO_LOG", m_dir.file("vexlo.log")),
        m_data("VEXLO_DATA_DIR", m_dir.path()) {
    writeFile(m_dir.file("config.txt"), config + "headless:true,networking:false,frame_time:0,"
                                                 "random_seed:" + std::to_string(seed) + ",");
    std::filesystem::create_directory(m_dir.file("sounds"));
    for (const Asset &asset : gameAssets())
      if (asset.kind != AssetKind::SPRITE)
        writeFile(m_dir.file(asset.file), sineWav(0.3));
    if (with_sprites)
      std::filesystem::create_directory_symlink(std::string(VEXLO_SOURCE_DIR) + "/sprites",
                                                m_dir.file("sprites"));
    m_old_cwd = std::filesystem::current_path().string();
    std::filesystem::current_path(m_dir.path());
    if (vx::GameManager::getInstance().startUp() != 0)
      return;
    loadResources();
    p_start = new GameStart;
    new vx::Pause(vx::Keyboard::F10);
  }

  ~SwatSession() {
    vx::GameManager::getInstance().shutDown();
    std::filesystem::current_path(m_old_cwd);
  }

  SwatSession(const SwatSession &) = delete;
  SwatSession &operator=(const SwatSession &) = delete;

  bool started() const { return vx::GameManager::getInstance().isStarted(); }
  std::string logPath() const { return m_dir.file("vexlo.log"); }
};

// The active transition screen (the one running the current run), or null.
inline TransitionScreen *activeTransitionScreen() {
  for (vx::Object *p_o : objectsOfTypes({TRANSITION_SCREEN_TYPE}))
    if (p_o->isActive())
      return dynamic_cast<TransitionScreen *>(p_o);
  return nullptr;
}

// The first object of the type as its class, or null.
template <class T>
T *findObject(const std::string &type) {
  return dynamic_cast<T *>(firstObjectOfType(type));
}

// Presses a key the way the input manager reports it.
inline void pressKey(vx::Keyboard::Key key) {
  vx::EventKeyboard ev;
  ev.setKey(key);
  ev.setKeyboardAction(vx::KEY_PRESSED);
  vx::InputManager::getInstance().onEvent(&ev);
}

// Plays the game inside the game loop. It listens to step events and, having
// registered before any transition screen, acts first in every step: presses
// P on an active start screen while it has plays left, forces the kind of each
// coming minigame from its schedule during the intermission, and during a
// minigame clicks every target it may hit through the swatter's own handler,
// with real mouse events, choosing for each a spot where the swatter's box
// covers the target and no fly it must not hit. Then it calls the observer,
// and ends the loop when the observer says so or after `max_steps` steps.
class SwatBot : public vx::Object {
 public:
  struct Plan {
    int max_steps = 100000;
    int plays = 1;                          // Times to press P.
    bool clicks = true;                     // False: never clicks at all.
    bool hit_forbidden = false;             // Aims at the flies that lose the run.
    int spare = 0;                          // Targets of each minigame left alone.
    int idle_every = 0;                     // Every n-th minigame, no clicks (0: never).
    int turn_every = 3;                     // Swats every n-th step, ten times a second.
    bool as_player = false;                 // Input goes through the input manager, recorded.
    std::vector<MinigameType> schedule;     // Kinds forced, one per minigame, in order.
    std::function<bool(SwatBot &)> observe; // After the bot's turn; true ends the loop.
  };

 private:
  Plan m_plan;
  int m_steps = 0;
  int m_minigames = 0;                     // Minigames seen running.
  int m_love_clicks = 0;                   // Clicks that reached the love fly.
  size_t m_scheduled = 0;                  // Entries of the schedule used.
  std::vector<MinigameType> m_drawn;       // The kinds the game drew before each forcing.
  const TransitionScreen *m_p_forced_for = nullptr; // Intermission last forced...
  int m_forced_count = -1;                 // ...by its screen and minigame count.
  const TransitionScreen *m_p_seen = nullptr;       // Minigame last seen running...
  int m_seen_count = -1;                   // ...by its screen and minigame count.

  // The types the bot aims at in a minigame (what it spawns that does not
  // lose the run), and those it must not touch (what does).
  void aims(const MinigameRow &row, std::vector<std::string> &targets,
            std::vector<std::string> &forbidden) const {
    for (const std::string &type : row.spawnedTypes())
      (row.deathLoses(type) ? forbidden : targets).push_back(type);
    if (m_plan.hit_forbidden && !forbidden.empty())
      std::swap(targets, forbidden);
  }

  // A spot where the swatter's box covers the target and nothing to avoid,
  // searched around the target in half cells; false when there is none.
  static bool safeSpot(Swatter *p_swatter, vx::Object *p_target,
                       const std::function<bool(const vx::Object *)> &avoid, vx::Vector &spot) {
    const vx::Box target = vx::getWorldBox(p_target);
    const vx::Box swatter = p_swatter->getBox();
    const float x0 = target.getCorner().getX() - swatter.getHorizontal();
    const float y0 = target.getCorner().getY() - swatter.getVertical();
    const float x1 = x0 + target.getHorizontal() + 2 * swatter.getHorizontal();
    const float y1 = y0 + target.getVertical() + 2 * swatter.getVertical();
    const vx::Vector centre = p_target->getPosition();
    std::vector<vx::Vector> candidates = {centre};
    for (float y = y0; y <= y1; y += 0.5f)
      for (float x = x0; x <= x1; x += 0.5f)
        candidates.push_back(vx::Vector(x, y));
    for (const vx::Vector &where : candidates) {
      const vx::ObjectList under = vx::WorldManager::getInstance().getCollisions(p_swatter, where);
      bool covers = false, safe = true;
      for (int i = 0; i < under.getCount(); i++) {
        covers = covers || under[i] == p_target;
        safe = safe && !avoid(under[i]);
      }
      if (covers && safe) {
        spot = where;
        return true;
      }
    }
    return false;
  }

  void mouse(Swatter *p_swatter, vx::EventMouseAction action, vx::Vector where) const {
    vx::EventMouse ev;
    ev.setMouseAction(action);
    ev.setMouseButton(vx::Mouse::LEFT);
    ev.setMousePosition(where);
    if (m_plan.as_player)
      vx::InputManager::getInstance().queueInput(ev);
    else
      p_swatter->eventHandler(&ev);
  }

  void playMinigame(TransitionScreen *p_screen) {
    if (p_screen != m_p_seen || p_screen->getMinigameCount() != m_seen_count) {
      m_p_seen = p_screen;
      m_seen_count = p_screen->getMinigameCount();
      m_minigames++;
    }
    auto *p_swatter = findObject<Swatter>(SWATTER_TYPE);
    if (!m_plan.clicks || p_swatter == nullptr || m_steps % m_plan.turn_every != 0 ||
        (m_plan.idle_every > 0 && m_minigames % m_plan.idle_every == 0))
      return;
    std::vector<std::string> targets, forbidden;
    aims(currentMinigameRow(), targets, forbidden);
    std::vector<vx::Object *> aimed = objectsOfTypes(targets);
    const size_t spare = std::min(aimed.size(), static_cast<size_t>(m_plan.spare));
    const std::vector<vx::Object *> spared(aimed.end() - spare, aimed.end());
    aimed.resize(aimed.size() - spare);
    auto avoid = [&](const vx::Object *p_o) {
      return std::find(forbidden.begin(), forbidden.end(), p_o->getType()) != forbidden.end() ||
             std::find(spared.begin(), spared.end(), p_o) != spared.end();
    };
    for (vx::Object *p_target : aimed) {
      vx::Vector spot;
      if (!safeSpot(p_swatter, p_target, avoid, spot))
        continue;
      mouse(p_swatter, vx::MOVED, spot);
      mouse(p_swatter, vx::CLICKED, spot);
      if (p_target->getType() == LOVE_FLY_TYPE)
        m_love_clicks++;
    }
  }

  void act() {
    auto *p_start = findObject<GameStart>(GAME_START_TYPE);
    if (p_start != nullptr && p_start->isActive() && m_plan.plays > 0) {
      m_plan.plays--;
      if (m_plan.as_player) {
        vx::EventKeyboard key;
        key.setKey(vx::Keyboard::P);
        key.setKeyboardAction(vx::KEY_PRESSED);
        vx::InputManager::getInstance().queueInput(key);
      } else {
        pressKey(vx::Keyboard::P);
      }
      return;
    }
    TransitionScreen *p_screen = activeTransitionScreen();
    if (p_screen == nullptr)
      return;
    if (p_screen->isPlaying()) {
      playMinigame(p_screen);
      return;
    }
    if (m_scheduled < m_plan.schedule.size() &&
        (p_screen != m_p_forced_for || p_screen->getMinigameCount() != m_forced_count)) {
      m_p_forced_for = p_screen;
      m_forced_count = p_screen->getMinigameCount();
      m_drawn.push_back(currentMinigame());
      setCurrentMinigame(m_plan.schedule[m_scheduled++]);
    }
  }

 public:
  explicit SwatBot(Plan plan) : m_plan(std::move(plan)) {
    setType("SwatBot");
    setSolidness(vx::SPECTRAL);
    registerInterest(vx::STEP_EVENT);
    // Playing as the player, the bot is no part of the world a record
    // hashes: it gives its id back and leaves the world (the test deletes it).
    if (m_plan.as_player) {
      releaseId();
      vx::WorldManager::getInstance().removeObject(this);
    }
  }

  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() != vx::STEP_EVENT)
      return 0;
    act();
    m_steps++;
    const bool done = m_plan.observe && m_plan.observe(*this);
    if (done || m_steps >= m_plan.max_steps)
      vx::GameManager::getInstance().setGameOver(true);
    return 1;
  }

  int steps() const { return m_steps; }
  int minigames() const { return m_minigames; }
  int loveClicks() const { return m_love_clicks; }
  size_t scheduled() const { return m_scheduled; }
  const std::vector<MinigameType> &drawn() const { return m_drawn; }
};

// The streak display's value, or 0 when there is none.
inline int streakValue() {
  for (vx::Object *p_o : objectsOfTypes({"ViewObject"}))
    if (auto *p_streak = dynamic_cast<Streak *>(p_o))
      return p_streak->getValue();
  return 0;
}

// Resident memory of this process in bytes, from /proc/self/statm.
inline long residentBytes() {
  long pages_total = 0, pages_resident = 0;
  FILE *p_file = std::fopen("/proc/self/statm", "r");
  if (p_file == nullptr)
    return -1;
  if (std::fscanf(p_file, "%ld %ld", &pages_total, &pages_resident) != 2)
    pages_resident = -1;
  std::fclose(p_file);
  return pages_resident < 0 ? -1 : pages_resident * sysconf(_SC_PAGESIZE);
}

} // namespace vxtest

#endif // SWAT_BOT_H
