// Path searches: cell for cell the same as the plain-list rules on random
// worlds, small worlds worked out by hand, the path manager's refusals and
// bookkeeping, and objects that search, get their event and walk the path.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "EventPath.h"
#include "EventStep.h"
#include "GameManager.h"
#include "LogManager.h"
#include "Object.h"
#include "PathFind.h"
#include "PathManager.h"
#include "PathReference.h"
#include "TestSupport.h"
#include "WorldTestSupport.h"

namespace {

class PathFindTest : public vxtest::WorldFixture {
 protected:
  vx::PathManager &m_paths = vx::PathManager::getInstance();

  void SetUp() override {
    WorldFixture::SetUp();
    ASSERT_EQ(m_paths.startUp(), 0);
  }

  void TearDown() override {
    WorldFixture::TearDown();
    m_paths.shutDown();
  }

  void clearWorld() {
    vx::ObjectList all = m_world.getAllObjects(true);
    for (int i = 0; i < all.getCount(); i++)
      m_world.markForDelete(all[i]);
    m_world.update();
  }
};

// Keeps the path events it gets, then lets the object take them as usual.
class Seeker : public vx::Object {
 public:
  std::vector<std::pair<int, vx::Path>> events;
  std::function<void(Seeker *)> on_arrival; // Run on every step once the path is walked.

  explicit Seeker(vx::Vector position) { setPosition(position); }

  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() == vx::PATH_EVENT) {
      const auto *p_path = static_cast<const vx::EventPath *>(p_e);
      events.emplace_back(p_path->getResult(), p_path->getPath());
    }
    return vx::Object::eventHandler(p_e);
  }
};

std::vector<vx::Vector> cellsOf(std::initializer_list<std::pair<int, int>> cells) {
  std::vector<vx::Vector> result;
  for (const auto &c : cells)
    result.emplace_back(static_cast<float>(c.first), static_cast<float>(c.second));
  return result;
}

// Runs a search to its end; its results, one per expansion.
template <class Search> std::vector<int> runToEnd(Search &search, int limit) {
  std::vector<int> results;
  do
    results.push_back(search.cycleOnce());
  while (results.back() == 1 && static_cast<int>(results.size()) < limit);
  return results;
}

} // namespace

TEST_F(PathFindTest, ExpandsTheSameCellsAndFindsTheSamePathsAsThePlainRules) {
  int found = 0, unreachable = 0, reached_target = 0, goal_in_obstacle = 0;
  for (unsigned int seed = 0; seed < 300; seed++) {
    std::mt19937 random(seed);
    const int width = 6 + static_cast<int>(random() % 35), height = 4 + static_cast<int>(random() % 17);
    const double density = std::vector<double>{0, 0.15, 0.3, 0.45}[seed % 4];
    vxtest::RandomWorld world(random, width, height, density, seed % 7 == 3);
    vx::Object *p_mover = vxtest::RandomWorld::obstacle(world.start.x, world.start.y);
    if (seed % 5 == 1) // A mover wider than one cell.
      p_mover->setBox(vx::Box(vx::Vector(-0.5f, -0.5f), 1.9f, 1.9f));
    vx::Object *p_target = nullptr;
    if (seed % 11 == 5) { // A wall too long to sweep: every cell is asked of the world.
      vxtest::RandomWorld::obstacle(0, height / 2)
          ->setBox(vx::Box(vx::Vector(-3e6f, -0.5f), 6e6f + static_cast<float>(width / 2), 0.9f));
    }
    if (seed % 3 == 2) {
      p_target = vxtest::RandomWorld::obstacle(world.goal.x, world.goal.y);
      p_target->setBox(vx::Box(vx::Vector(-1.5f, -1.5f), 3, 3));
    }
    goal_in_obstacle += !m_world.getCollisions(p_mover, vx::Vector(static_cast<float>(world.goal.x),
                                                                    static_cast<float>(world.goal.y)))
                             .isEmpty();

    vx::PathFind engine(p_mover, p_target, world.start, world.goal, width, height);
    vxtest::ReferencePathFind reference(p_mover, p_target, world.start, world.goal, width, height);
    const std::vector<int> results = runToEnd(engine, width * height + 2);
    ASSERT_EQ(results, runToEnd(reference, width * height + 2)) << "seed " << seed;
    ASSERT_TRUE(engine.getClosed() == reference.getClosed()) << "seed " << seed;
    ASSERT_EQ(engine.getPath().getPositions(), reference.getPath().getPositions()) << "seed " << seed;
    // An ended search stays ended.
    EXPECT_EQ(engine.cycleOnce(), results.back()) << "seed " << seed;

    if (results.back() == 2) {
      found++;
      reached_target += p_target != nullptr && engine.getGoal() != world.goal;
    } else {
      unreachable++;
      EXPECT_EQ(engine.getPath().getCount(), 0);
    }
    clearWorld();
  }
  // The worlds exercise every way a search can end.
  EXPECT_GT(found, 100);
  EXPECT_GT(unreachable, 30);
  EXPECT_GT(reached_target, 30);
  EXPECT_GT(goal_in_obstacle, 30);
}

TEST_F(PathFindTest, SmallWorldsWorkedOutByHand) {
  struct Case {
    const char *what;
    int width, height;
    std::vector<vx::Vector> obstacles;
    vx::PathCell start, goal;
    int result;
    std::vector<vx::Vector> path;
  };
  const Case cases[] = {
      {"start is the goal", 3, 3, {}, {1, 1}, {1, 1}, 2, cellsOf({{1, 1}})},
      {"straight line", 5, 1, {}, {0, 0}, {4, 0}, 2, cellsOf({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}})},
      {"no squeezing between two blocked cells", 2, 2, cellsOf({{1, 0}, {0, 1}}), {0, 0}, {1, 1}, 0, {}},
      {"diagonal past one blocked cell", 2, 2, cellsOf({{1, 0}}), {0, 0}, {1, 1}, 2,
       cellsOf({{0, 0}, {1, 1}})},
      {"a goal inside an obstacle is reached", 3, 1, cellsOf({{2, 0}}), {0, 0}, {2, 0}, 2,
       cellsOf({{0, 0}, {1, 0}, {2, 0}})},
      {"the obstacle holding the goal blocks nothing else", 3, 1, cellsOf({{1, 0}}), {0, 0}, {2, 0}, 0, {}},
      {"around a wall", 3, 3, cellsOf({{1, 0}, {1, 1}}), {0, 0}, {2, 0}, 2,
       cellsOf({{0, 0}, {0, 1}, {1, 2}, {2, 1}, {2, 0}})},
      {"walled in", 5, 5, cellsOf({{1, 1}, {2, 1}, {3, 1}, {1, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}}),
       {0, 0}, {2, 2}, 0, {}},
  };
  for (const Case &c : cases) {
    m_world.setBoundary(vx::Box(vx::Vector(0, 0), static_cast<float>(c.width),
                                static_cast<float>(c.height)));
    for (const vx::Vector &v : c.obstacles)
      vxtest::RandomWorld::obstacle(static_cast<int>(v.getX()), static_cast<int>(v.getY()));
    vx::Object *p_mover = vxtest::RandomWorld::obstacle(c.start.x, c.start.y);
    vx::PathFind search(p_mover, nullptr, c.start, c.goal, c.width, c.height);
    EXPECT_EQ(runToEnd(search, 100).back(), c.result) << c.what;
    EXPECT_EQ(search.getPath().getPositions(), c.path) << c.what;
    EXPECT_EQ(search.getPath().getIndex(), 0) << c.what;
    clearWorld();
  }
}

TEST_F(PathFindTest, ThePathManagerRefusesBadSearchesAndKeepsOnePerObject) {
  Seeker *p_seeker = new Seeker(vx::Vector(2, 2));
  EXPECT_EQ(m_paths.startUp(), -1);
  EXPECT_TRUE(m_log.contains("PathManager::startup(): Warning! PathManager already started."));

  EXPECT_EQ(m_paths.findPath(nullptr, vx::Vector(1, 1)), -1);
  EXPECT_TRUE(m_log.contains("PathManager::findPath(): Error! Object is NULL."));
  EXPECT_EQ(m_paths.findPath(p_seeker, vx::Vector(80, 3)), -1);
  EXPECT_EQ(m_paths.findPath(p_seeker, vx::Vector(-0.5f, 3)), -1);
  EXPECT_EQ(m_log.count("outside the world."), 2);
  p_seeker->setPosition(vx::Vector(3, 24));
  EXPECT_EQ(m_paths.findPath(p_seeker, vx::Vector(1, 1)), -1);
  EXPECT_TRUE(m_log.contains("PathManager::findPath(): Error! Object"));
  EXPECT_EQ(m_paths.getPathFindCount(), 0);
  EXPECT_EQ(p_seeker->getPathFind(), nullptr);

  // A new search replaces the object's earlier one.
  p_seeker->setPosition(vx::Vector(3.7f, 4.2f));
  ASSERT_EQ(m_paths.findPath(p_seeker, vx::Vector(70, 20)), 0);
  vx::PathFind *p_first = p_seeker->getPathFind();
  ASSERT_NE(p_first, nullptr);
  EXPECT_TRUE((p_first->getStart() == vx::PathCell{3, 4}));
  ASSERT_EQ(m_paths.findPath(p_seeker, vx::Vector(10.9f, 20)), 0);
  EXPECT_NE(p_seeker->getPathFind(), p_first);
  EXPECT_TRUE((p_seeker->getPathFind()->getGoal() == vx::PathCell{10, 20}));
  EXPECT_EQ(m_paths.getPathFindCount(), 1);
  // No time, no expansion (started without a game, the least budget is 0).
  EXPECT_EQ(m_paths.getMinCycleTime(), 0);
  m_paths.cycle(0);
  m_paths.cycle(-5);
  EXPECT_TRUE(p_seeker->getPathFind()->getClosed().empty());

  EXPECT_EQ(m_paths.removePathFind(nullptr), -1);
  vx::PathFind stranger(p_seeker, nullptr, {0, 0}, {1, 1}, 2, 2);
  EXPECT_EQ(m_paths.removePathFind(&stranger), -1);
  EXPECT_EQ(m_paths.getPathFindCount(), 1);
}

TEST_F(PathFindTest, SearchesEndInEventsAndDieWithTheirObjects) {
  // Goal walled in: an event with result 0 and an empty path.
  for (const vx::Vector &v : cellsOf({{9, 9}, {10, 9}, {11, 9}, {9, 10}, {11, 10}, {9, 11}, {10, 11}, {11, 11}}))
    vxtest::RandomWorld::obstacle(static_cast<int>(v.getX()), static_cast<int>(v.getY()));
  Seeker *p_lost = new Seeker(vx::Vector(1, 1));
  ASSERT_EQ(m_paths.findPath(p_lost, vx::Vector(10, 10)), 0);

  // A search for an object that goes away goes on for the cell it was at.
  Seeker *p_hunter = new Seeker(vx::Vector(70, 20));
  vx::Object *p_prey = vxtest::RandomWorld::obstacle(40, 2);
  ASSERT_EQ(m_paths.findPath(p_hunter, vx::Vector(40, 2), p_prey), 0);

  // Searches of objects that die go with them.
  for (int i = 0; i < 3; i++) {
    Seeker *p_doomed = new Seeker(vx::Vector(static_cast<float>(i), 20));
    ASSERT_EQ(m_paths.findPath(p_doomed, vx::Vector(79, 0)), 0);
    m_world.markForDelete(p_doomed);
  }
  m_world.markForDelete(p_prey);
  m_world.update();
  EXPECT_EQ(m_paths.getPathFindCount(), 2);

  for (int i = 0; i < 100 && m_paths.getPathFindCount() > 0; i++)
    m_paths.cycle(1000);
  EXPECT_EQ(m_paths.getPathFindCount(), 0);
  ASSERT_EQ(p_lost->events.size(), 1u);
  EXPECT_EQ(p_lost->events[0].first, 0);
  EXPECT_EQ(p_lost->events[0].second.getCount(), 0);
  EXPECT_EQ(p_lost->getPathFind(), nullptr);
  EXPECT_FALSE(p_lost->getFollowPath());

  ASSERT_EQ(p_hunter->events.size(), 1u);
  EXPECT_EQ(p_hunter->events[0].first, 2);
  EXPECT_EQ(p_hunter->events[0].second.getPositions().back(), vx::Vector(40, 2));
  EXPECT_TRUE(p_hunter->getFollowPath());
  EXPECT_EQ(p_hunter->getPathFind(), nullptr);

  // One more with its search pending at the world's end: the sanitizers
  // report anything left behind.
  ASSERT_EQ(m_paths.findPath(new Seeker(vx::Vector(5, 5)), vx::Vector(60, 5)), 0);
}

namespace {

// A headless engine whose world has a wall with a gap at the bottom.
class PathGameTest : public ::testing::Test {
 protected:
  vxtest::TempDir m_dir;
  std::unique_ptr<vxtest::ScopedEnv> m_config_env;
  std::unique_ptr<vxtest::ScopedEnv> m_log_env;

  void SetUp() override {
    vxtest::writeFile(m_dir.file("vx-config.txt"),
                      "headless:true,\nnetworking:false,\nframe_time:5,\n");
    m_config_env = std::make_unique<vxtest::ScopedEnv>("VEXLO_CONFIG", m_dir.file("vx-config.txt"));
    m_log_env = std::make_unique<vxtest::ScopedEnv>("VEXLO_LOG", m_dir.file("vexlo.log"));
    ASSERT_EQ(vx::GameManager::getInstance().startUp(), 0);
  }

  void TearDown() override { vx::GameManager::getInstance().shutDown(); }
};

// Ends the game when its check holds, or after a number of steps.
class Referee : public vx::Object {
 public:
  std::function<bool()> done;
  int steps = 0;
  int limit;

  explicit Referee(int step_limit) : limit(step_limit) {
    setSolidness(vx::SPECTRAL);
    registerInterest(vx::STEP_EVENT);
  }

  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() == vx::STEP_EVENT && (++steps >= limit || done()))
      vx::GameManager::getInstance().setGameOver();
    return 1;
  }
};

} // namespace

TEST_F(PathGameTest, AnObjectFindsAWayRoundAWallAndWalksItWhileOtherSearchesRun) {
  vx::PathManager &paths = vx::PathManager::getInstance();
  EXPECT_EQ(paths.getMinCycleTime(), 0); // A tenth of 5 ms, in whole milliseconds.
  for (int y = 0; y < 20; y++)
    vxtest::RandomWorld::obstacle(40, y);
  Seeker *p_walker = new Seeker(vx::Vector(30, 5));
  p_walker->setSolidness(vx::SPECTRAL); // Cuts corners of the wall without colliding.
  p_walker->setVelocity(vx::Vector(0, 1)); // Speed 1; the path sets the direction.
  ASSERT_EQ(paths.findPath(p_walker, vx::Vector(50, 5)), 0);
  // Others search too, for goals far off or walled off.
  for (int i = 0; i < 4; i++)
    ASSERT_EQ(paths.findPath(new Seeker(vx::Vector(static_cast<float>(i), 0)),
                             vx::Vector(79, static_cast<float>(23 - i))), 0);

  Referee *p_referee = new Referee(400);
  p_referee->done = [p_walker] {
    return !p_walker->events.empty() && !p_walker->getFollowPath();
  };
  vx::GameManager::getInstance().run();

  ASSERT_EQ(p_walker->events.size(), 1u);
  EXPECT_EQ(p_walker->events[0].first, 2);
  const std::vector<vx::Vector> &path = p_walker->events[0].second.getPositions();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), vx::Vector(30, 5));
  EXPECT_EQ(path.back(), vx::Vector(50, 5));
  for (const vx::Vector &cell : path) // Through the gap, never through the wall.
    EXPECT_TRUE(cell.getX() != 40 || cell.getY() >= 20) << cell.toString();
  EXPECT_EQ(p_walker->getPosition(), vx::Vector(50, 5));
  EXPECT_EQ(p_walker->getDirection(), vx::Vector(0, 0));
  EXPECT_LT(p_referee->steps, 400);
  EXPECT_EQ(paths.getPathFindCount(), 0);
}

TEST_F(PathFindTest, AWorkBudgetEndsASearchInTheSameCycleWhateverTheTimeLeft) {
  for (int y = 0; y < 20; y++)
    vxtest::RandomWorld::obstacle(30, y);
  // Cycles a search round the wall needs with a work budget and a time budget.
  auto cyclesToEnd = [&](int work, int time_ms) {
    m_paths.setWorkBudget(work);
    Seeker *p_seeker = new Seeker(vx::Vector(2, 2));
    EXPECT_EQ(m_paths.findPath(p_seeker, vx::Vector(70, 3)), 0);
    int cycles = 0;
    while (p_seeker->events.empty() && cycles < 100000) {
      m_paths.cycle(time_ms);
      cycles++;
    }
    EXPECT_EQ(p_seeker->events.size(), 1u);
    m_world.markForDelete(p_seeker);
    m_world.update();
    return cycles;
  };
  const int expansions = cyclesToEnd(1, 0);
  ASSERT_GT(expansions, 100);
  for (int work : {7, 64, 1000})
    for (int time_ms : {-5, 0, 1000})
      EXPECT_EQ(cyclesToEnd(work, time_ms), (expansions + work - 1) / work)
          << work << " expansions a cycle, " << time_ms << " ms";
  m_paths.setWorkBudget(0);
}
