// The engine splash screen in a headless engine: its timeline, skipping it
// with a key, and refusing to run before the engine has started.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "EventKeyboard.h"
#include "EventStep.h"
#include "GameManager.h"
#include "InputManager.h"
#include "Splash.h"
#include "TestSupport.h"
#include "WorldManager.h"

using vx::Vector;

namespace {

// The splash objects as a step found them, before they handled it.
struct Snapshot {
  int step;
  const vx::Object *p_banner;
  Vector banner_position, banner_velocity;
  int banner_frame;
  const vx::Object *p_figure;
  Vector figure_position;
  float figure_width;
};

// The object of the type in the world, or null.
const vx::Object *findType(const std::string &type) {
  const vx::ObjectList all = vx::WorldManager::getInstance().getAllObjects(true);
  for (int i = 0; i < all.getCount(); i++)
    if (all[i]->getType() == type)
      return all[i];
  return nullptr;
}

// Created before the splash, so it hears each step before the splash objects.
class Watcher : public vx::Object {
 public:
  std::vector<Snapshot> snapshots;
  std::function<void(int)> action;

  Watcher() {
    setSolidness(vx::SPECTRAL);
    registerInterest(vx::STEP_EVENT);
  }

  int eventHandler(const vx::Event *p_e) override {
    const int step = static_cast<const vx::EventStep *>(p_e)->getStepCount();
    Snapshot shot{step, findType("Splash"), {}, {}, -1, findType("SplashVexlo"), {}, 0};
    if (shot.p_banner != nullptr) {
      shot.banner_position = shot.p_banner->getPosition();
      shot.banner_velocity = shot.p_banner->getVelocity();
      shot.banner_frame = shot.p_banner->getAnimation().getIndex();
    }
    if (shot.p_figure != nullptr) {
      shot.figure_position = shot.p_figure->getPosition();
      shot.figure_width = shot.p_figure->getBox().getHorizontal();
    }
    snapshots.push_back(shot);
    if (action)
      action(step);
    return 1;
  }
};

class SplashTest : public ::testing::Test {
 protected:
  vxtest::TempDir m_dir;
  vxtest::ScopedEnv m_log_env{"VEXLO_LOG", m_dir.file("vexlo.log")};
  vx::GameManager &m_game = vx::GameManager::getInstance();

  void TearDown() override { m_game.shutDown(); }
};

} // namespace

TEST_F(SplashTest, RunsNinetyStepsAndLeavesNothingBehind) {
  ASSERT_EQ(m_game.startUp(), 0);
  Watcher *p_watcher = new Watcher;
  ASSERT_EQ(vx::splash(), 0);
  EXPECT_EQ(m_game.getStepCount(), 90);
  EXPECT_EQ(findType("Splash"), nullptr);
  EXPECT_EQ(findType("SplashVexlo"), nullptr);

  const std::vector<Snapshot> &shots = p_watcher->snapshots;
  ASSERT_EQ(shots.size(), 90u);
  // Banner: from just off the right edge (80 + 47 / 2), centred vertically,
  // sliding 74.5 / 16 cells a step, showing the first lettering.
  EXPECT_EQ(shots[0].banner_position, Vector(103.5f, 12));
  EXPECT_FLOAT_EQ(shots[0].banner_velocity.getX(), -74.5f / 16);
  EXPECT_EQ(shots[0].banner_frame, 0);
  // It stops in its 15th step on the second lettering, and the figure
  // appears six rows below the view, under its target beside the banner, and
  // moves with that step's update.
  const Snapshot &stopped = shots[15];
  EXPECT_EQ(stopped.banner_velocity, Vector(0, 0));
  EXPECT_EQ(stopped.banner_frame, 1);
  EXPECT_EQ(shots[14].p_figure, nullptr);
  ASSERT_NE(stopped.p_figure, nullptr);
  const Vector target = stopped.banner_position + Vector(24, 1);
  EXPECT_FLOAT_EQ(stopped.figure_position.getX(), target.getX());
  EXPECT_FLOAT_EQ(stopped.figure_position.getY(), 30 - (30 - target.getY()) / 30);
  EXPECT_EQ(stopped.figure_width, 11);
  // It rises for 30 steps to the target height and stays there; after 15
  // more it settles, one column further left, in its smaller picture.
  EXPECT_NEAR(shots[45].figure_position.getY(), target.getY(), 1e-3);
  EXPECT_EQ(shots[60].figure_position.getY(), shots[45].figure_position.getY());
  EXPECT_EQ(shots[59].figure_width, 11);
  EXPECT_EQ(shots[60].figure_width, 9);
  EXPECT_FLOAT_EQ(shots[60].figure_position.getX(), target.getX() - 1);
  EXPECT_EQ(shots[89].figure_position, shots[60].figure_position);
  EXPECT_EQ(shots[89].banner_position, stopped.banner_position);
}

TEST_F(SplashTest, EndedEarlyItLeavesNothingThatLivesOn) {
  struct Case {
    int step;  // When it is ended.
    bool key;  // By a key press, or else by a game over from elsewhere.
  } const cases[] = {{0, true}, {20, false}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.step);
    ASSERT_EQ(m_game.startUp(), 0);
    Watcher *p_watcher = new Watcher;
    p_watcher->action = [&c](int step) {
      if (step != c.step)
        return;
      if (!c.key) {
        vx::GameManager::getInstance().setGameOver();
        return;
      }
      vx::EventKeyboard key;
      key.setKey(vx::Keyboard::SPACE);
      key.setKeyboardAction(vx::KEY_PRESSED);
      vx::InputManager::getInstance().onEvent(&key);
    };
    ASSERT_EQ(vx::splash(), 0);
    EXPECT_EQ(m_game.getStepCount(), c.step + 1);
    const vx::ObjectList active = vx::WorldManager::getInstance().getAllObjects();
    ASSERT_EQ(active.getCount(), 1);
    EXPECT_EQ(active[0], p_watcher);
    vx::WorldManager::getInstance().update();
    EXPECT_EQ(findType("Splash"), nullptr);
    EXPECT_EQ(findType("SplashVexlo"), nullptr);
    m_game.shutDown();
  }
}

TEST_F(SplashTest, RefusesToRunBeforeTheEngineStarts) {
  vxtest::LogCapture log;
  const int next_id = vx::Object::getNextId();
  EXPECT_EQ(vx::splash(), -1);
  EXPECT_TRUE(log.contains(
      "splash(): Error! Cannot run splash screen until game manger is started."));
  EXPECT_EQ(vx::Object::getNextId(), next_id) << "nothing was created";
}
