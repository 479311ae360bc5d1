// The world manager: start-up and shut-down, event validity, deferred
// deletion, the update walk, drawing and the view settings.
#include <gtest/gtest.h>

#include "Config.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventOut.h"
#include "EventStep.h"
#include "EventView.h"
#include "GameManager.h"
#include "LogManager.h"
#include "NetworkManager.h"
#include "ViewObject.h"
#include "WorldManager.h"
#include "WorldTestSupport.h"
#include "WorldGeometry.h"
#include "utility.h"

using vx::Box;
using vx::Vector;
using vxtest::journal;
using vxtest::journalCount;
using vxtest::journalStartingWith;
using vxtest::Recorder;
using vxtest::WorldFixture;

namespace {

class WorldManagerTest : public WorldFixture {};

bool holds(const vx::ObjectList &list, const vx::Object *p_o) {
  for (int i = 0; i < list.getCount(); i++)
    if (list[i] == p_o)
      return true;
  return false;
}

// ---------------------------------------------------------------------------
// Start-up, shut-down and event validity
// ---------------------------------------------------------------------------

TEST_F(WorldManagerTest, StartingTwiceWarnsAndFails) {
  EXPECT_EQ(m_world.startUp(), -1);
  EXPECT_EQ(m_log.count("WorldManager::startup(): Warning! WorldManager already started."), 1);
  EXPECT_TRUE(m_world.isStarted());
}

TEST_F(WorldManagerTest, StartUpResetsTheViewState) {
  Recorder *p_a = new Recorder("a", Vector(5, 5));
  m_world.setViewSlack(Vector(0.5f, 0.5f));
  ASSERT_EQ(m_world.setViewFollowing(p_a), 0);
  m_world.shutDown();

  ASSERT_EQ(m_world.startUp(), 0);
  EXPECT_EQ(m_world.getBoundary(), Box());
  EXPECT_EQ(m_world.getView(), Box());
  EXPECT_EQ(m_world.getViewSlack(), Vector(0, 0));
  EXPECT_EQ(m_world.getViewFollowing(), nullptr);
}

TEST_F(WorldManagerTest, ValidEventTypes) {
  for (const std::string &type : {vx::KEYBOARD_EVENT, vx::MSE_EVENT, vx::STEP_EVENT}) {
    EXPECT_FALSE(m_world.isValid(type));
    EXPECT_EQ(m_log.count("WorldManager::isValid(): WorldManager does not handle " + type), 1);
  }
  for (const std::string &type : {vx::COLLISION_EVENT, vx::OUT_EVENT}) {
    EXPECT_FALSE(m_world.isValid(type));
    EXPECT_EQ(m_log.count("WorldManager::isValid(): Event " + type + " handled automatically."), 1);
  }
  size_t lines = m_log.messages().size();
  EXPECT_TRUE(m_world.isValid(vx::VIEW_EVENT));
  EXPECT_TRUE(m_world.isValid("my-game-event"));
  EXPECT_EQ(m_log.messages().size(), lines);
}

TEST_F(WorldManagerTest, ObjectsRegisterForViewAndGameEventsHere) {
  Recorder *p_a = new Recorder("a", Vector(5, 5));
  ASSERT_EQ(p_a->registerInterest(vx::VIEW_EVENT), 0);
  ASSERT_EQ(p_a->registerInterest("level-done"), 0);
  EXPECT_EQ(p_a->registerInterest(vx::COLLISION_EVENT), -1);

  vx::EventView view("score", 1, true);
  EXPECT_EQ(m_world.onEvent(&view), 1);
  EXPECT_EQ(journal(), std::vector<std::string>({"a vx-view"}));
}

TEST(WorldManagerEngineTest, ObjectsCreatedBeforeStartUpStayOutOfTheWorld) {
  vxtest::LogCapture log;
  vx::WorldManager &world = vx::WorldManager::getInstance();
  vx::Object early;
  EXPECT_TRUE(log.contains("Object::Object(): Error! Unable to add"));
  EXPECT_EQ(world.insertObject(&early), -1);
  ASSERT_EQ(world.startUp(), 0);
  EXPECT_TRUE(world.getAllObjects(true).isEmpty());
  world.shutDown(); // Must not delete the object it never held.
}

TEST_F(WorldManagerTest, ShutDownDeletesEveryObjectAndStopsTheGrid) {
  new Recorder("active", Vector(5, 5));
  Recorder *p_inactive = new Recorder("inactive", Vector(6, 6));
  p_inactive->setActive(false);
  m_world.shutDown();
  EXPECT_EQ(journal(), std::vector<std::string>({"~active", "~inactive"}));
  EXPECT_TRUE(m_world.getAllObjects(true).isEmpty());
  EXPECT_FALSE(m_world.getSceneGraph().getGrid().isAllocated());
  EXPECT_FALSE(m_world.isStarted());
}

TEST_F(WorldManagerTest, ShutDownSurvivesDestructorsThatDeleteOtherObjects) {
  // The owner deletes its part itself, and marks another object on the way
  // out; one more object was marked before the shut-down.
  struct Owner : Recorder {
    Recorder *p_part = nullptr;
    Recorder *p_other = nullptr;
    Owner() : Recorder("owner", Vector(4, 4)) {}
    ~Owner() override {
      delete p_part;
      vx::WorldManager::getInstance().markForDelete(p_other);
    }
  };
  Owner *p_owner = new Owner;
  p_owner->p_part = new Recorder("part", Vector(2, 2));
  p_owner->p_other = new Recorder("other", Vector(3, 3));
  m_world.markForDelete(new Recorder("marked", Vector(1, 1)));
  m_world.shutDown();
  EXPECT_EQ(journal(), std::vector<std::string>({"~part", "~owner", "~other", "~marked"}));
}

TEST(WorldManagerEngineTest, BadGridCellSizeStopsTheEngineStartUp) {
  // A world too large for the grid fails after the world started.
  for (std::string setting : {"grid_width:0", "grid_height:-3",
                              "window_horizontal_chars:2000,window_vertical_chars:1000,"
                              "grid_width:1,grid_height:1"}) {
    SCOPED_TRACE(setting);
    // A process of its own per configuration: the grid reads it on first use.
    EXPECT_EXIT(
        {
          vxtest::TempDir dir;
          vxtest::writeFile(dir.file("vx-config.txt"),
                            "headless:true,\nnetworking:false,\n" + setting + ",\n");
          vxtest::ScopedEnv config("VEXLO_CONFIG", dir.file("vx-config.txt"));
          vxtest::ScopedEnv log("VEXLO_LOG", dir.file("vexlo.log"));
          vx::GameManager &game = vx::GameManager::getInstance();
          int result = game.startUp();
          bool world_started = vx::WorldManager::getInstance().isStarted();
          game.shutDown();
          std::string text = vxtest::readFile(dir.file("vexlo.log"));
          const char *line = world_started ? "too large for the collision grid"
                                           : "Error! Unable to startup Scenegraph";
          bool lines = text.find(line) != std::string::npos &&
                       text.find("GameManager::startUp(): Error") != std::string::npos;
          std::exit(result == -1 && world_started == (setting[0] == 'w') && lines ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
  }
}

TEST_F(WorldManagerTest, ObjectsOnTheStackAreNeverDeletedByTheWorld) {
  Recorder on_stack("stack", Vector(1, 1));
  m_world.markForDelete(&on_stack);
  m_world.update(), m_world.shutDown();
  EXPECT_EQ(journalCount("~stack"), 0);
}

TEST(WorldManagerEngineTest, EngineStartUpSizesTheWorldToTheWindow) {
  vxtest::TempDir dir;
  vxtest::ScopedEnv log("VEXLO_LOG", dir.file("vexlo.log"));
  vx::GameManager &game = vx::GameManager::getInstance();
  ASSERT_EQ(game.startUp(), 0);
  vx::WorldManager &world = vx::WorldManager::getInstance();
  EXPECT_TRUE(world.isStarted());
  Box window(Vector(0, 0), 80, 24);
  EXPECT_EQ(world.getBoundary(), window);
  EXPECT_EQ(world.getView(), window);
  EXPECT_EQ(world.getViewSlack(), Vector(0.33333334f, 0.33333334f));
  EXPECT_EQ(world.getSceneGraph().getGrid().getNumCols(), 4);
  EXPECT_EQ(world.getSceneGraph().getGrid().getNumRows(), 3);
  // Networking is off in the test configuration.
  EXPECT_FALSE(vx::NetworkManager::getInstance().isStarted());

  journal().clear();
  new Recorder("left over", Vector(3, 3));
  game.shutDown();
  EXPECT_FALSE(world.isStarted());
  EXPECT_EQ(journal(), std::vector<std::string>({"~left over"}));
}

TEST(WorldManagerEngineTest, GameLoopMovesObjectsAndDeletesTheMarkedOnes) {
  vxtest::TempDir dir;
  vxtest::ScopedEnv log("VEXLO_LOG", dir.file("vexlo.log"));
  vx::GameManager &game = vx::GameManager::getInstance();
  ASSERT_EQ(game.startUp(), 0);
  journal().clear();

  // Marks itself on the second step; the loop ends on the third.
  Recorder *p_mover = new Recorder("mover", Vector(10, 10), vx::SPECTRAL);
  p_mover->setVelocity(Vector(1, 0));
  Recorder *p_timer = new Recorder("timer", Vector(0, 0), vx::SPECTRAL);
  ASSERT_EQ(p_timer->registerInterest(vx::STEP_EVENT), 0);
  p_timer->on_event = [&](Recorder *, const vx::Event *p_e) {
    if (static_cast<const vx::EventStep *>(p_e)->getStepCount() == 1)
      vx::WorldManager::getInstance().markForDelete(p_timer);
  };
  // The timer is gone after step 1, so end the game from the mover's draw.
  int draws = 0;
  struct Ender : Recorder {
    int *p_draws;
    Ender(int *draws) : Recorder("ender", Vector(1, 1), vx::SPECTRAL), p_draws(draws) {}
    int draw() override {
      if (++*p_draws == 3)
        vx::GameManager::getInstance().setGameOver();
      return 0;
    }
  };
  new Ender(&draws);
  game.run();
  EXPECT_EQ(game.getStepCount(), 3);
  EXPECT_EQ(journalCount("~timer"), 1);
  EXPECT_EQ(journalCount("timer vx-step"), 2); // Steps 0 and 1, then deleted.
  EXPECT_EQ(p_mover->getPosition(), Vector(13, 10));
  EXPECT_EQ(journalCount("draw mover"), 3);
  game.shutDown();
}

// ---------------------------------------------------------------------------
// Object lists and deferred deletion
// ---------------------------------------------------------------------------

TEST_F(WorldManagerTest, AllObjectsListsActiveThenInactive) {
  Recorder *p_a = new Recorder("a", Vector(1, 1));
  Recorder *p_b = new Recorder("b", Vector(2, 2));
  Recorder *p_c = new Recorder("c", Vector(3, 3));
  p_a->setActive(false);

  vx::ObjectList active = m_world.getAllObjects();
  ASSERT_EQ(active.getCount(), 2);
  EXPECT_EQ(active[0], p_b);
  EXPECT_EQ(active[1], p_c);
  vx::ObjectList all = m_world.getAllObjects(true);
  ASSERT_EQ(all.getCount(), 3);
  EXPECT_EQ(all[2], p_a);
}

TEST_F(WorldManagerTest, MarkedObjectsLiveUntilTheEndOfTheUpdateAndDieOnce) {
  Recorder *p_a = new Recorder("a", Vector(1, 1));
  Recorder *p_b = new Recorder("b", Vector(5, 5));
  EXPECT_EQ(m_world.markForDelete(p_a), 0);
  EXPECT_EQ(m_world.markForDelete(p_a), 0);
  EXPECT_TRUE(journal().empty());
  EXPECT_EQ(m_world.getAllObjects().getCount(), 2);

  m_world.update();
  EXPECT_EQ(journal(), std::vector<std::string>({"~a"}));
  vx::ObjectList left = m_world.getAllObjects();
  ASSERT_EQ(left.getCount(), 1);
  EXPECT_EQ(left[0], p_b);

  m_world.update(); // The deletions list was emptied: nothing happens twice.
  EXPECT_EQ(journal().size(), 1u);
}

TEST_F(WorldManagerTest, DeletionWalkTakesObjectsMarkedOrDeletedByDestructors) {
  // a's destructor marks c (not marked yet) and deletes b (marked, later in
  // the list) itself; each dies exactly once.
  struct Parent : Recorder {
    Recorder *p_b = nullptr;
    Recorder *p_c = nullptr;
    Parent() : Recorder("a", Vector(1, 1)) {}
    ~Parent() override {
      vx::WorldManager::getInstance().markForDelete(p_c);
      vx::WorldManager::getInstance().markForDelete(this); // Already on its way out.
      delete p_b;
    }
  };
  Parent *p_a = new Parent;
  p_a->p_b = new Recorder("b", Vector(2, 2));
  p_a->p_c = new Recorder("c", Vector(3, 3));
  Recorder *p_d = new Recorder("d", Vector(4, 4));
  m_world.markForDelete(p_a);
  m_world.markForDelete(p_a->p_b);
  m_world.markForDelete(p_d);

  m_world.update();
  EXPECT_EQ(journal(), std::vector<std::string>({"~b", "~a", "~d", "~c"}));
  EXPECT_TRUE(m_world.getAllObjects(true).isEmpty());
}

TEST_F(WorldManagerTest, MarkedObjectDeletedElsewhereLeavesTheDeletionsList) {
  Recorder *p_a = new Recorder("a", Vector(1, 1));
  m_world.markForDelete(p_a);
  delete p_a; // Against the rules, but the world must not delete it again.
  m_world.update();
  EXPECT_EQ(journal(), std::vector<std::string>({"~a"}));
}

// ---------------------------------------------------------------------------
// The update walk
// ---------------------------------------------------------------------------

TEST_F(WorldManagerTest, UpdateMovesByVelocityThenAppliesAcceleration) {
  Recorder *p_a = new Recorder("a", Vector(10, 10), vx::SPECTRAL);
  p_a->setVelocity(Vector(1, 0));
  p_a->setAcceleration(Vector(0, 0.5f));
  m_world.update();
  // This step's move uses the old velocity; the acceleration counts from the next.
  EXPECT_EQ(p_a->getPosition(), Vector(11, 10));
  EXPECT_NEAR(p_a->getVelocity().getX(), 1, 1e-6);
  EXPECT_NEAR(p_a->getVelocity().getY(), 0.5, 1e-6);
  m_world.update();
  EXPECT_NEAR(p_a->getPosition().getX(), 12, 1e-5);
  EXPECT_NEAR(p_a->getPosition().getY(), 10.5, 1e-5);
}

TEST_F(WorldManagerTest, ObjectsAtRestGetNoCollisionsFromTheUpdate) {
  new Recorder("a", Vector(10, 10));
  new Recorder("b", Vector(10.5f, 10)); // Overlapping, both still.
  m_world.update();
  EXPECT_TRUE(journal().empty());
}

TEST_F(WorldManagerTest, ObjectsCreatedDuringTheUpdateMoveFromTheNextStep) {
  Recorder *p_mover = new Recorder("mover", Vector(10, 10), vx::SOFT);
  new Recorder("pad", Vector(11, 10), vx::SOFT);
  p_mover->setVelocity(Vector(1, 0));
  Recorder *p_child = nullptr;
  p_mover->on_event = [&](Recorder *, const vx::Event *) {
    if (p_child == nullptr) {
      p_child = new Recorder("child", Vector(30, 5), vx::SPECTRAL);
      p_child->setVelocity(Vector(0, 1));
    }
  };
  m_world.update();
  ASSERT_NE(p_child, nullptr);
  EXPECT_EQ(p_child->getPosition(), Vector(30, 5));
  m_world.update();
  EXPECT_EQ(p_child->getPosition(), Vector(30, 6));
}

TEST_F(WorldManagerTest, ObjectsChangedDuringTheWalkAreStillSafeToVisit) {
  // a's collision handler deactivates c, hides d, makes e spectral and moves
  // f to another altitude, all of them later in the walk; they still move
  // this step (the walk works on the list taken at its start).
  Recorder *p_a = new Recorder("a", Vector(10, 10), vx::SOFT);
  new Recorder("b", Vector(11, 10), vx::SOFT);
  std::vector<Recorder *> later;
  for (int i = 0; i < 4; i++) {
    later.push_back(new Recorder(std::string(1, static_cast<char>('c' + i)),
                                 Vector(20.0f + 3 * i, 20), vx::SPECTRAL));
    later.back()->setVelocity(Vector(0, -1));
  }
  p_a->setVelocity(Vector(1, 0));
  p_a->on_event = [&](Recorder *, const vx::Event *) {
    later[0]->setActive(false);
    later[1]->setVisible(false);
    later[2]->setSolidness(vx::HARD);
    later[3]->setAltitude(4);
  };
  m_world.update();
  for (Recorder *p : later)
    EXPECT_EQ(p->getPosition().getY(), 19) << p->name();
  // The inactive one stays put from now on; the others go on.
  m_world.update();
  EXPECT_EQ(later[0]->getPosition().getY(), 19);
  EXPECT_EQ(later[1]->getPosition().getY(), 18);
}

TEST_F(WorldManagerTest, ObjectDeletedDuringTheWalkIsSkipped) {
  // Deleting directly is against the rules; the walk must still not touch
  // the dead object.
  Recorder *p_a = new Recorder("a", Vector(10, 10), vx::SOFT);
  new Recorder("pad", Vector(11, 10), vx::SOFT);
  Recorder *p_victim = new Recorder("victim", Vector(30, 10), vx::SPECTRAL);
  p_victim->setVelocity(Vector(1, 0));
  p_a->setVelocity(Vector(1, 0));
  p_a->on_event = [&](Recorder *, const vx::Event *) {
    if (p_victim != nullptr) {
      delete p_victim;
      p_victim = nullptr;
    }
  };
  m_world.update();
  EXPECT_EQ(journalCount("~victim"), 1);
  EXPECT_EQ(m_world.getAllObjects().getCount(), 2);
}

TEST_F(WorldManagerTest, ObjectThatDeletesItselfInItsHandlerEndsItsTurn) {
  Recorder *p_a = new Recorder("a", Vector(10, 10), vx::SOFT);
  new Recorder("pad", Vector(11, 10), vx::SOFT);
  p_a->setVelocity(Vector(1, 0));
  p_a->setAcceleration(Vector(1, 1));
  p_a->on_event = [](Recorder *p_self, const vx::Event *) { delete p_self; };
  m_world.update();
  EXPECT_EQ(journalCount("~a"), 1);
  EXPECT_EQ(journalCount("pad vx-collision a>pad at (11,10)"), 0);
}

// ---------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------

TEST_F(WorldManagerTest, DrawsVisibleObjectsInTheViewByAltitude) {
  m_world.setView(Box(Vector(10, 10), 20, 10));
  Recorder *p_top = new Recorder("top", Vector(12, 12));
  p_top->setAltitude(4);
  new Recorder("middle", Vector(15, 15));
  Recorder *p_bottom = new Recorder("bottom", Vector(20, 12));
  p_bottom->setAltitude(0);
  new Recorder("edge", Vector(30, 20)); // Touches the view's corner.
  new Recorder("outside", Vector(40, 12));
  new Recorder("left", Vector(8.5f, 12)); // Box x 8.5 to 9.5: short of the view.
  Recorder *p_hidden = new Recorder("hidden", Vector(14, 14));
  p_hidden->setVisible(false);

  m_world.draw();
  EXPECT_EQ(journal(),
            std::vector<std::string>({"draw bottom", "draw middle", "draw edge", "draw top"}));
}

TEST_F(WorldManagerTest, ViewObjectsAreDrawnWhereverTheyAre) {
  struct Hud : vx::ViewObject {
    int draws = 0;
    int draw() override {
      draws++;
      return 0;
    }
  };
  m_world.setView(Box(Vector(100, 100), 20, 10));
  Hud *p_hud = new Hud;
  p_hud->setPosition(Vector(2, 2)); // View coordinates: far from the view in world terms.
  new Recorder("far", Vector(2, 2));
  m_world.draw();
  EXPECT_EQ(p_hud->draws, 1);
  EXPECT_EQ(journalCount("draw far"), 0);
}

// ---------------------------------------------------------------------------
// Boundary and view settings
// ---------------------------------------------------------------------------

TEST_F(WorldManagerTest, SetBoundaryRebuildsTheGridKeepingObjects) {
  Recorder *p_a = new Recorder("a", Vector(100, 50));
  const vx::Grid &grid = m_world.getSceneGraph().getGrid();
  EXPECT_EQ(grid.getNumCols(), 4);
  EXPECT_EQ(grid.getNumRows(), 3);
  EXPECT_TRUE(holds(grid.getOutOfBounds(), p_a));

  m_world.setBoundary(Box(Vector(0, 0), 200, 100));
  EXPECT_EQ(m_world.getBoundary(), Box(Vector(0, 0), 200, 100));
  EXPECT_EQ(grid.getNumCols(), 10);
  EXPECT_EQ(grid.getNumRows(), 13);
  EXPECT_TRUE(holds(grid.getCell({5, 6}), p_a));
  Recorder *p_b = new Recorder("b", Vector(99.5f, 50));
  vx::ObjectList hits = m_world.getCollisions(p_b, Vector(99.5f, 50));
  ASSERT_EQ(hits.getCount(), 1);
  EXPECT_EQ(hits[0], p_a);
}

TEST_F(WorldManagerTest, ViewSlackOutOfRangeWarnsButIsStored) {
  const std::string warning =
      "WorldManager::setViewSlack(): Warning! view slack units out of range [0-1]";
  m_world.setViewSlack(Vector(1.5f, 0.2f));
  EXPECT_EQ(m_log.count(warning), 1);
  EXPECT_EQ(m_world.getViewSlack(), Vector(1.5f, 0.2f));
  m_world.setViewSlack(Vector(0.5f, -0.1f));
  EXPECT_EQ(m_log.count(warning), 2);
  m_world.setViewSlack(Vector(0, 1));
  EXPECT_EQ(m_log.count(warning), 2);
  EXPECT_EQ(m_world.getViewSlack(), Vector(0, 1));
}

TEST_F(WorldManagerTest, ViewPositionIsClampedToTheBoundary) {
  m_world.setBoundary(Box(Vector(0, 0), 200, 100));
  m_world.setView(Box(Vector(0, 0), 80, 24));
  m_world.setViewPosition(Vector(100, 50));
  EXPECT_EQ(m_world.getView(), Box(Vector(60, 38), 80, 24));
  m_world.setViewPosition(Vector(10, 5));
  EXPECT_EQ(m_world.getView().getCorner(), Vector(0, 0));
  m_world.setViewPosition(Vector(195, 99));
  EXPECT_EQ(m_world.getView().getCorner(), Vector(120, 76));

  // A view wider than the boundary sits at 0 on that axis.
  m_world.setView(Box(Vector(0, 0), 300, 24));
  m_world.setViewPosition(Vector(100, 50));
  EXPECT_EQ(m_world.getView().getCorner(), Vector(0, 38));
}

TEST_F(WorldManagerTest, WorldAndViewCoordinatesFollowTheView) {
  m_world.setView(Box(Vector(30, 12), 80, 24));
  EXPECT_EQ(vx::worldToView(Vector(35, 20)), Vector(5, 8));
  EXPECT_EQ(vx::viewToWorld(Vector(5, 8)), Vector(35, 20));
}

TEST_F(WorldManagerTest, FollowingNeedsAnObjectOfTheWorld) {
  Recorder outsider("outsider", Vector(1, 1));
  m_world.removeObject(&outsider);
  EXPECT_EQ(m_world.setViewFollowing(&outsider), -1);
  EXPECT_TRUE(m_log.contains("WorldManager::setViewFollowing(): Error! Object "));
  EXPECT_EQ(m_world.getViewFollowing(), nullptr);

  Recorder *p_a = new Recorder("a", Vector(5, 5));
  EXPECT_EQ(m_world.setViewFollowing(p_a), 0);
  EXPECT_EQ(m_world.getViewFollowing(), p_a);
  EXPECT_EQ(m_world.setViewFollowing(nullptr), 0);
  EXPECT_EQ(m_world.getViewFollowing(), nullptr);
  // The outsider's destructor finds it gone from the world already.
  m_world.insertObject(&outsider);
}

TEST_F(WorldManagerTest, DeletingTheFollowedObjectStopsTheFollowing) {
  m_world.setBoundary(Box(Vector(0, 0), 400, 100));
  Recorder *p_a = new Recorder("a", Vector(5, 5));
  ASSERT_EQ(m_world.setViewFollowing(p_a), 0);
  m_world.markForDelete(p_a);
  m_world.update();
  EXPECT_EQ(m_world.getViewFollowing(), nullptr);

  // A new object at the same address is not followed by accident.
  Recorder *p_b = new Recorder("b", Vector(5, 5));
  p_b->setVelocity(Vector(60, 0));
  m_world.update();
  EXPECT_EQ(m_world.getView().getCorner(), Vector(0, 0));
}

} // namespace
