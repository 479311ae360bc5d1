// Engine start-up and shut-down, and the fixed-rate game loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <regex>
#include <thread>
#include <vector>

#include "DisplayManager.h"
#include "EventStep.h"
#include "GameManager.h"
#include "LogManager.h"
#include "NetworkManager.h"
#include "Object.h"
#include "ResourceManager.h"
#include "TestSupport.h"
#include "WorldManager.h"
#include "utility.h"

using vxtest::ScopedEnv;
using vxtest::TempDir;

namespace {

// A headless engine with the given extra configuration and a log of its own.
class EngineFixture : public ::testing::Test {
 protected:
  TempDir m_dir;
  std::unique_ptr<ScopedEnv> m_config_env;
  std::unique_ptr<ScopedEnv> m_log_env;

  void start(const std::string &extra_config = "") {
    vxtest::writeFile(m_dir.file("vx-config.txt"),
                      "headless:true,\nnetworking:false,\n" + extra_config + "\n");
    m_config_env = std::make_unique<ScopedEnv>("VEXLO_CONFIG", m_dir.file("vx-config.txt"));
    m_log_env = std::make_unique<ScopedEnv>("VEXLO_LOG", m_dir.file("vexlo.log"));
    ASSERT_EQ(vx::GameManager::getInstance().startUp(), 0);
    vx::LogManager::getInstance().setFlush(true);
  }

  std::vector<std::string> messages() const {
    std::vector<std::string> result;
    for (const std::string &line : vxtest::readLines(m_dir.file("vexlo.log")))
      result.push_back(vxtest::logMessage(line));
    return result;
  }

  // The step counts printed on the log lines that contain the text.
  std::vector<int> stepsOfLinesWith(const std::string &text) const {
    std::vector<int> steps;
    for (const std::string &line : vxtest::readLines(m_dir.file("vexlo.log")))
      if (line.find(text) != std::string::npos)
        steps.push_back(std::atoi(line.substr(9, 4).c_str()));
    return steps;
  }
};

// Runs a function on every step it hears, then ends the game after `steps`.
class StepScript : public vx::Object {
 private:
  int m_steps;

 public:
  std::vector<int> seen;
  std::function<void(int)> action;

  explicit StepScript(int steps) : m_steps(steps) {
    vx::GameManager::getInstance().registerInterest(this, vx::STEP_EVENT);
  }
  ~StepScript() override { vx::GameManager::getInstance().unregisterInterest(this, vx::STEP_EVENT); }

  int eventHandler(const vx::Event *p_e) override {
    int step = static_cast<const vx::EventStep *>(p_e)->getStepCount();
    seen.push_back(step);
    if (action)
      action(step);
    if (static_cast<int>(seen.size()) >= m_steps)
      vx::GameManager::getInstance().setGameOver();
    return 1;
  }
};

} // namespace

TEST_F(EngineFixture, StartWritesTheBannerAndStopWritesTheClosingLines) {
  start();
  vx::GameManager::getInstance().shutDown();
  std::vector<std::string> lines = messages();
  std::string stars(52, '*');
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4),
            (std::vector<std::string>{stars, "** Vexlo version 4.25 **",
                                      "** Game engine started **", stars}));
  EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
            (std::vector<std::string>{stars, "** Game engine stopped **"}));
  EXPECT_FALSE(vx::LogManager::getInstance().isStarted());
  EXPECT_FALSE(vx::GameManager::getInstance().isStarted());
  EXPECT_TRUE(vx::GameManager::getInstance().getGameOver());
}

TEST_F(EngineFixture, StartingTwiceIsRefused) {
  start("frame_time:20,");
  EXPECT_EQ(vx::GameManager::getInstance().getFrameTime(), 20);
  EXPECT_EQ(vx::GameManager::getInstance().startUp(), -1);
  std::vector<std::string> lines = messages();
  EXPECT_EQ(lines.back(), "GameManager::startup(): Warning! GameManager already started.");
  vx::GameManager::getInstance().shutDown();
}

TEST_F(EngineFixture, StepEventsCarryTheStepCountFromZero) {
  start("frame_time:1,");
  StepScript &script = *new StepScript(5); // The world deletes it at shut-down.
  script.action = [](int step) {
    if (step == 3)
      vx::LogManager::getInstance().writeLog("during step three");
  };
  vx::GameManager::getInstance().run();
  EXPECT_EQ(script.seen, (std::vector<int>{0, 1, 2, 3, 4}));
  // Game over set during step 4 ends the loop after it; the count still advanced.
  EXPECT_EQ(vx::GameManager::getInstance().getStepCount(), 5);
  EXPECT_EQ(stepsOfLinesWith("during step three"), std::vector<int>{3});
  vx::GameManager::getInstance().shutDown();
}

TEST_F(EngineFixture, LateFramesAreReportedExceptTheFirstAndAfterAnOversleep) {
  start("frame_time:10,");
  StepScript &script = *new StepScript(8);
  // Steps 0, 4, 5 and 6 overrun the 10 ms frame.
  script.action = [](int step) {
    if (step == 0 || (step >= 4 && step <= 6))
      std::this_thread::sleep_for(std::chrono::milliseconds(15));
  };
  vx::GameManager::getInstance().run();
  std::vector<int> late = stepsOfLinesWith("Can't keep up!");
  // Step 4 follows a slept frame: any oversleep is cleared silently instead of
  // being reported. Steps 5 and 6 follow late frames and are late, but the
  // late steps of a run this short make one line. The first frame is never
  // late. A loaded machine may make other frames late too.
  EXPECT_EQ(late.size(), 1u);
  EXPECT_EQ(std::count(late.begin(), late.end(), 0), 0);
  // A late frame reports what it took: at least the whole frame time. A loaded
  // machine makes frames longer, so there is no upper bound.
  const std::regex report("GameManager::run\\(\\): Can't keep up! frame_time 10 ms, split "
                          "([0-9]+) ms, [0-9]+ late step\\(s\\) since the last report");
  for (const std::string &message : messages()) {
    if (message.find("Can't keep up!") == std::string::npos)
      continue;
    std::smatch match;
    ASSERT_TRUE(std::regex_match(message, match, report)) << message;
    EXPECT_GE(std::stoi(match[1]), 10) << message;
  }
  vx::GameManager::getInstance().shutDown();
}

// A hold that lets go at its third call, and one that ends the game instead.
int g_hold_calls = 0;
bool holdForThreeLooks() { return ++g_hold_calls < 3; }
bool endTheGameWhileHeld() {
  vx::GameManager::getInstance().setGameOver();
  return true;
}

TEST_F(EngineFixture, AHoldKeepsTheNextStepWaitingUntilItLetsGoOrTheGameEnds) {
  start("frame_time:1,");
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  StepScript &script = *new StepScript(100);
  bool (*p_hold)() = holdForThreeLooks;
  int looks_before_step_2 = -1;
  script.action = [&](int step) {
    if (step == 1)
      game_manager.hold(p_hold);
    if (step == 2)
      looks_before_step_2 = g_hold_calls;
    if (step == 3)
      game_manager.setGameOver();
  };
  game_manager.run();
  EXPECT_EQ(script.seen, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(looks_before_step_2, 3);
  EXPECT_FALSE(game_manager.isHeld());

  // Game over while held: no step runs after the one that asked for the hold.
  script.seen.clear();
  p_hold = endTheGameWhileHeld;
  game_manager.run();
  EXPECT_EQ(script.seen, (std::vector<int>{0, 1}));
  game_manager.shutDown();
  EXPECT_FALSE(game_manager.isHeld());
}

TEST_F(EngineFixture, ZeroFrameTimeNeverSleepsNorReports) {
  start("frame_time:0,");
  StepScript &script = *new StepScript(20);
  script.action = [](int) { std::this_thread::sleep_for(std::chrono::milliseconds(1)); };
  vx::GameManager::getInstance().run();
  EXPECT_EQ(script.seen.size(), 20u);
  EXPECT_TRUE(stepsOfLinesWith("Can't keep up!").empty());
  vx::GameManager::getInstance().shutDown();
}

TEST_F(EngineFixture, SeedMinusOneLeavesTheGeneratorUnseeded) {
  vx::seedRandom(1);
  int unseeded_first = vx::randomInt();
  vx::seedRandom(1); // Back to the state of a process that never seeded.
  start("random_seed:-1,");
  EXPECT_EQ(vx::randomInt(), unseeded_first);
  vx::GameManager::getInstance().shutDown();
}

TEST_F(EngineFixture, ConfiguredSeedSeedsTheGenerator) {
  vx::seedRandom(1234);
  int expected = vx::randomInt();
  vx::seedRandom(99);
  start("random_seed:1234,");
  EXPECT_EQ(vx::randomInt(), expected);
  vx::GameManager::getInstance().shutDown();
}

TEST(GameManager, AcceptsOnlyStepInterest) {
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  EXPECT_TRUE(game_manager.isValid("vx-step"));
  EXPECT_FALSE(game_manager.isValid("vx-keyboard"));
  EXPECT_FALSE(game_manager.isValid("vx-undefined"));
}

TEST(GameManager, FailsToStartWhenTheLogCannotOpen) {
  ScopedEnv config("VEXLO_CONFIG", "/nonexistent/vx-config.txt");
  ScopedEnv log("VEXLO_LOG", "/nonexistent-directory/vexlo.log");
  testing::internal::CaptureStderr();
  EXPECT_EQ(vx::GameManager::getInstance().startUp(), -1);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("GameManager::startUp(): Error! Starting log manager."), std::string::npos);
  EXPECT_FALSE(vx::GameManager::getInstance().isStarted());
}

TEST_F(EngineFixture, AManagerThatFailsToStartStopsTheStartUpAndTheRestStayStopped) {
  vxtest::writeFile(m_dir.file("vx-config.txt"), "headless:true,\nnetworking:false,\ngrid_width:0,\n");
  ScopedEnv config("VEXLO_CONFIG", m_dir.file("vx-config.txt"));
  ScopedEnv log("VEXLO_LOG", m_dir.file("vexlo.log"));
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  EXPECT_EQ(game_manager.startUp(), -1);
  EXPECT_FALSE(game_manager.isStarted());
  EXPECT_TRUE(vx::DisplayManager::getInstance().isStarted());
  EXPECT_TRUE(vx::ResourceManager::getInstance().isStarted());
  EXPECT_FALSE(vx::WorldManager::getInstance().isStarted());
  // Shutting down stops exactly the managers that started.
  game_manager.shutDown();
  EXPECT_FALSE(vx::DisplayManager::getInstance().isStarted());
  EXPECT_FALSE(vx::ResourceManager::getInstance().isStarted());
  std::vector<std::string> lines = messages();
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "GameManager::startUp(): Error starting world manager."),
            lines.end());
  EXPECT_EQ(lines.back(), "** Game engine stopped **");
}

TEST_F(EngineFixture, WithoutNetworkingTheNetworkManagerIsNeverTouched) {
  vx::NetworkManager::getInstance().startUp(); // Started by someone else.
  start();
  vx::GameManager::getInstance().shutDown();
  EXPECT_TRUE(vx::NetworkManager::getInstance().isStarted());
}
