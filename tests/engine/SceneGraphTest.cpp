// The world's index of active, inactive, solid, visible and typed objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "GameManager.h"
#include "Grid.h"
#include "Object.h"
#include "ObjectList.h"
#include "SceneGraph.h"
#include "TestSupport.h"
#include "WorldTestSupport.h"
#include "WorldManager.h"

using vx::Box;
using vx::Object;
using vx::SceneGraph;
using vx::Vector;

namespace {

typedef std::vector<Object *> Objects;

Objects contents(const vx::ObjectList &list) {
  Objects result;
  for (int i = 0; i < list.getCount(); i++)
    result.push_back(list[i]);
  return result;
}

vx::WorldManager &world() { return vx::WorldManager::getInstance(); }
SceneGraph &graph() { return world().getSceneGraph(); }

// The grid cell holding the default object at position (1, 1).
const vx::GridKey FIRST_CELL = {0, 0};

// A started world of 80 x 24 cells.
class SceneGraphFixture : public vxtest::WorldFixture {
 protected:
  vxtest::LogCapture &log = m_log;

  // Whether the object is in the solid list and in the grid cell at (1, 1).
  static bool inSolidIndex(Object *p_o) {
    Objects solid = contents(graph().solidObjects());
    Objects cell = contents(graph().getGrid().getCell(FIRST_CELL));
    bool in_solid = std::find(solid.begin(), solid.end(), p_o) != solid.end();
    bool in_cell = std::find(cell.begin(), cell.end(), p_o) != cell.end();
    EXPECT_EQ(in_solid, in_cell) << "solid list and grid disagree";
    return in_solid && in_cell;
  }
};

} // namespace

TEST_F(SceneGraphFixture, NewObjectsAreInEveryListTheirStateCallsFor) {
  Object *p_a = new Object;
  Object *p_b = new Object;
  EXPECT_EQ(contents(graph().activeObjects()), (Objects{p_a, p_b}));
  EXPECT_TRUE(graph().inactiveObjects().isEmpty());
  EXPECT_EQ(contents(graph().solidObjects()), (Objects{p_a, p_b}));
  EXPECT_EQ(contents(graph().visibleObjects(2)), (Objects{p_a, p_b}));
  EXPECT_EQ(contents(graph().typeObjects("(Undefined)")), (Objects{p_a, p_b}));
  EXPECT_EQ(contents(graph().getGrid().getCell(FIRST_CELL)), (Objects{p_a, p_b}));

  delete p_a;
  EXPECT_EQ(contents(graph().activeObjects()), Objects{p_b});
  EXPECT_EQ(contents(graph().solidObjects()), Objects{p_b});
  EXPECT_EQ(contents(graph().visibleObjects(2)), Objects{p_b});
  EXPECT_EQ(contents(graph().typeObjects("(Undefined)")), Objects{p_b});
  EXPECT_EQ(contents(graph().getGrid().getCell(FIRST_CELL)), Objects{p_b});
  EXPECT_FALSE(log.contains("Error"));
}

TEST_F(SceneGraphFixture, TypeChangesMoveObjectsBetweenTypeLists) {
  Object *p_o = new Object;
  p_o->setType("Fly");
  EXPECT_TRUE(graph().typeObjects("(Undefined)").isEmpty());
  EXPECT_EQ(contents(graph().typeObjects("Fly")), Objects{p_o});
  p_o->setType("Coin");
  EXPECT_TRUE(graph().typeObjects("Fly").isEmpty());
  EXPECT_EQ(contents(graph().typeObjects("Coin")), Objects{p_o});
  EXPECT_TRUE(graph().typeObjects("Swatter").isEmpty());
  EXPECT_FALSE(log.contains("Error"));
}

TEST_F(SceneGraphFixture, DeactivatingLeavesOnlyTheInactiveListAndReactivatingGoesToTheEnd) {
  Object *p_a = new Object;
  Object *p_b = new Object;
  ASSERT_EQ(p_a->setActive(false), 0);
  EXPECT_EQ(contents(graph().activeObjects()), Objects{p_b});
  EXPECT_EQ(contents(graph().inactiveObjects()), Objects{p_a});
  EXPECT_EQ(contents(graph().typeObjects("(Undefined)")), Objects{p_b});
  EXPECT_EQ(contents(graph().visibleObjects(2)), Objects{p_b});
  EXPECT_FALSE(inSolidIndex(p_a));
  EXPECT_TRUE(graph().getCollisions(p_b, p_b->getPosition()).isEmpty());

  ASSERT_EQ(p_a->setActive(true), 0);
  EXPECT_EQ(contents(graph().activeObjects()), (Objects{p_b, p_a}));
  EXPECT_TRUE(graph().inactiveObjects().isEmpty());
  EXPECT_EQ(contents(graph().typeObjects("(Undefined)")), (Objects{p_b, p_a}));
  EXPECT_EQ(contents(graph().visibleObjects(2)), (Objects{p_b, p_a}));
  EXPECT_TRUE(inSolidIndex(p_a));
  EXPECT_EQ(contents(graph().getCollisions(p_b, p_b->getPosition())), Objects{p_a});

  // An inactive object is removed from the inactive list only.
  p_b->setActive(false);
  delete p_b;
  EXPECT_TRUE(graph().inactiveObjects().isEmpty());
  EXPECT_FALSE(log.contains("Error"));
}

TEST_F(SceneGraphFixture, ChangesToAnInactiveObjectTakeEffectWhenItIsActivated) {
  Object *p_o = new Object;
  p_o->setActive(false);
  ASSERT_EQ(p_o->setAltitude(4), 0);
  ASSERT_EQ(p_o->setSolidness(vx::SPECTRAL), 0);
  p_o->setType("Sleeper");
  EXPECT_EQ(contents(graph().inactiveObjects()), Objects{p_o});
  EXPECT_TRUE(graph().typeObjects("Sleeper").isEmpty());
  // An inactive object is in no type list, and changing its type is no error.
  EXPECT_FALSE(log.contains("updateType"));

  ASSERT_EQ(p_o->setActive(true), 0);
  EXPECT_EQ(contents(graph().typeObjects("Sleeper")), Objects{p_o});
  EXPECT_TRUE(graph().typeObjects("(Undefined)").isEmpty());
  EXPECT_EQ(contents(graph().visibleObjects(4)), Objects{p_o});
  EXPECT_TRUE(graph().visibleObjects(2).isEmpty());
  EXPECT_FALSE(inSolidIndex(p_o));
}

TEST_F(SceneGraphFixture, InsertingAnInactiveObjectPutsItOnlyInTheInactiveList) {
  SceneGraph own;
  ASSERT_EQ(own.startUp(), 0);
  Object *p_o = new Object;
  p_o->setActive(false);
  ASSERT_EQ(own.insertObject(p_o), 0);
  EXPECT_EQ(contents(own.inactiveObjects()), Objects{p_o});
  EXPECT_TRUE(own.activeObjects().isEmpty());
  EXPECT_TRUE(own.typeObjects("(Undefined)").isEmpty());
  EXPECT_TRUE(own.solidObjects().isEmpty());
  EXPECT_TRUE(own.visibleObjects(2).isEmpty());

  // Activating it (the object still reports inactive) fills every list.
  ASSERT_EQ(own.updateActive(p_o, true), 0);
  EXPECT_TRUE(own.inactiveObjects().isEmpty());
  EXPECT_EQ(contents(own.activeObjects()), Objects{p_o});
  EXPECT_EQ(contents(own.typeObjects("(Undefined)")), Objects{p_o});
  EXPECT_EQ(contents(own.solidObjects()), Objects{p_o});
  EXPECT_EQ(contents(own.visibleObjects(2)), Objects{p_o});
  EXPECT_EQ(contents(own.getGrid().getCell(FIRST_CELL)), Objects{p_o});
}

TEST_F(SceneGraphFixture, VisibilityAndAltitudeChangesMoveBetweenAltitudeLists) {
  Object *p_a = new Object;
  Object *p_b = new Object;
  ASSERT_EQ(p_a->setVisible(false), 0);
  EXPECT_EQ(contents(graph().visibleObjects(2)), Objects{p_b});
  ASSERT_EQ(p_a->setVisible(true), 0);
  EXPECT_EQ(contents(graph().visibleObjects(2)), (Objects{p_b, p_a}));

  ASSERT_EQ(p_b->setAltitude(0), 0);
  EXPECT_EQ(contents(graph().visibleObjects(2)), Objects{p_a});
  EXPECT_EQ(contents(graph().visibleObjects(0)), Objects{p_b});

  // An invisible object changes altitude without touching any list.
  p_a->setVisible(false);
  ASSERT_EQ(p_a->setAltitude(3), 0);
  for (int altitude = 0; altitude <= vx::MAX_ALTITUDE; altitude++)
    for (Object *p_o : contents(graph().visibleObjects(altitude)))
      EXPECT_NE(p_o, p_a) << "altitude " << altitude;
  p_a->setVisible(true);
  EXPECT_EQ(contents(graph().visibleObjects(3)), Objects{p_a});
  EXPECT_FALSE(log.contains("SceneGraph::"));
}

TEST_F(SceneGraphFixture, AltitudesOutsideTheRangeAreRefused) {
  Object *p_o = new Object;
  EXPECT_EQ(graph().updateAltitude(p_o, 7), -1);
  EXPECT_EQ(log.count("SceneGraph::updateAltitude(): New altitude 7 not in [0,4]!  No update."), 1);
  EXPECT_EQ(contents(graph().visibleObjects(2)), Objects{p_o});

  EXPECT_TRUE(graph().visibleObjects(5).isEmpty());
  EXPECT_TRUE(graph().visibleObjects(-1).isEmpty());
  EXPECT_EQ(log.count("SceneGraph::visibleObjects(): Warning! altitude 5 not in [0,4]."), 1);
  EXPECT_EQ(log.count("SceneGraph::visibleObjects(): Warning! altitude -1 not in [0,4]."), 1);
}

TEST_F(SceneGraphFixture, SolidnessChangesOnlyMatterBetweenSolidAndSpectral) {
  Object *p_a = new Object;
  Object *p_b = new Object;

  // HARD to SOFT changes no list, so the order stays.
  ASSERT_EQ(p_a->setSolidness(vx::SOFT), 0);
  EXPECT_EQ(contents(graph().solidObjects()), (Objects{p_a, p_b}));
  EXPECT_EQ(contents(graph().getGrid().getCell(FIRST_CELL)), (Objects{p_a, p_b}));
  ASSERT_EQ(p_a->setSolidness(vx::HARD), 0);
  EXPECT_EQ(contents(graph().solidObjects()), (Objects{p_a, p_b}));

  ASSERT_EQ(p_a->setSolidness(vx::SPECTRAL), 0);
  EXPECT_FALSE(inSolidIndex(p_a));
  EXPECT_TRUE(graph().getCollisions(p_b, p_b->getPosition()).isEmpty());

  // A spectral object moves without the grid; it is filed where it stands.
  p_a->setPosition(Vector(30, 1));
  ASSERT_EQ(p_a->setSolidness(vx::SOFT), 0);
  EXPECT_EQ(contents(graph().solidObjects()), (Objects{p_b, p_a}));
  EXPECT_EQ(contents(graph().getGrid().getCell({1, 0})), Objects{p_a});
  EXPECT_EQ(contents(graph().getGrid().getCell(FIRST_CELL)), Objects{p_b});
  // The line about it is written at level 20, below the log's level.
  EXPECT_FALSE(log.contains("Adding to grid."));
  EXPECT_FALSE(log.contains("SceneGraph::"));
}

TEST_F(SceneGraphFixture, FailedRemovalsWhenDeactivatingAreReported) {
  SceneGraph own;
  ASSERT_EQ(own.startUp(), 0);
  Object *p_o = new Object;
  p_o->setType("Ghost");
  // p_o is in the world's scene graph, not in this one.
  EXPECT_EQ(own.updateActive(p_o, false), -1);
  EXPECT_EQ(log.count("SceneGraph::updateActive(): remove object (Ghost) failed for objects!"), 1);
  EXPECT_EQ(log.count("SceneGraph::updateActive(): remove visible object (Ghost) failed for "
                      "visible_objects!"),
            1);
  EXPECT_EQ(
      log.count("SceneGraph::updateActive(): remove object (Ghost) failed for solid_objects!"), 1);
  // The rest still happens.
  EXPECT_EQ(contents(own.inactiveObjects()), Objects{p_o});
}

TEST_F(SceneGraphFixture, FailuresAreQuietOnceTheGameIsOver) {
  SceneGraph own;
  ASSERT_EQ(own.startUp(), 0);
  Object *p_o = new Object;
  vx::GameManager::getInstance().setGameOver(true);
  EXPECT_EQ(own.updateActive(p_o, false), -1);
  EXPECT_EQ(contents(own.inactiveObjects()), Objects{p_o});
  // Becoming invisible or changing type while missing from the lists is tolerated.
  EXPECT_EQ(own.updateVisible(p_o, false), 0);
  EXPECT_EQ(own.updateType(p_o, "Late"), 0);
  EXPECT_EQ(contents(own.typeObjects("Late")), Objects{p_o});
  EXPECT_FALSE(log.contains("SceneGraph::"));
}

TEST_F(SceneGraphFixture, OtherFailuresAreReportedWhileTheGameRuns) {
  SceneGraph own;
  ASSERT_EQ(own.startUp(), 0);
  Object *p_o = new Object;
  p_o->setType("Stray");

  EXPECT_EQ(own.updateVisible(p_o, false), -1);
  EXPECT_EQ(log.count("SceneGraph::updateVisible(): unable to remove visible object (Stray)"), 1);

  EXPECT_EQ(own.updateAltitude(p_o, 3), -1);
  EXPECT_EQ(log.count("SceneGraph::updateAltitude(): remove from old altitude (2) failed!"), 1);
  char detail[128];
  std::snprintf(detail, sizeof detail, "\tObject: type Stray, id %d, p %p", p_o->getId(),
                static_cast<void *>(p_o));
  EXPECT_EQ(log.count(detail), 1);

  EXPECT_EQ(own.updateType(p_o, "Other"), -1);
  EXPECT_EQ(log.count("SceneGraph::updateType(): Error! Unable to remove Object (" +
                      std::to_string(p_o->getId()) + ") type Stray"),
            1);
  EXPECT_TRUE(own.typeObjects("Other").isEmpty());

  EXPECT_EQ(own.removeObject(p_o), -1);
  std::snprintf(detail, sizeof detail,
                "SceneGraph::removeObject(): Error removing Object (id %d)! Pointer is %p.",
                p_o->getId(), static_cast<void *>(p_o));
  EXPECT_EQ(log.count(detail), 1);
}

TEST_F(SceneGraphFixture, WithoutAGridSolidObjectsCannotBeFiled) {
  SceneGraph own; // Not started: no grid.
  Object *p_o = new Object;
  EXPECT_EQ(own.insertObject(p_o), -1);
  EXPECT_TRUE(log.contains("Grid::insertObject(): Error! grid is NULL"));
  EXPECT_TRUE(log.contains("SceneGraph::insertObject(): Error! unable to add to Grid (id " +
                           std::to_string(p_o->getId()) + ")"));
  // It is taken out of the lists filled before the grid.
  EXPECT_TRUE(own.activeObjects().isEmpty());
  EXPECT_TRUE(own.solidObjects().isEmpty());
  EXPECT_TRUE(own.visibleObjects(2).isEmpty());

  EXPECT_EQ(own.updatePosition(p_o, Vector(5, 5)), -1);
  EXPECT_TRUE(log.contains("SceneGraph::updatePosition(): Error! Calling grid updatePosition "
                           "(Object " +
                           std::to_string(p_o->getId()) + ")."));

  // Only solid objects use the grid.
  p_o->setSolidness(vx::SPECTRAL);
  EXPECT_EQ(own.updatePosition(p_o, Vector(6, 6)), 0);
  EXPECT_EQ(own.insertObject(nullptr), -1);
}

TEST_F(SceneGraphFixture, ANewBoundaryKeepsTheObjectsIndexed) {
  Object *p_o = new Object;
  p_o->setType("Fly");
  p_o->setPosition(Vector(100, 30));
  world().setBoundary(Box(Vector(0, 0), 160, 48));
  EXPECT_EQ(graph().getGrid().getNumCols(), 8);
  EXPECT_EQ(contents(graph().typeObjects("Fly")), Objects{p_o});
  EXPECT_EQ(contents(graph().getGrid().getCell({5, 3})), Objects{p_o});
  EXPECT_TRUE(graph().getGrid().getOutOfBounds().isEmpty());

  Object *p_other = new Object;
  p_other->setPosition(Vector(100.5f, 30.5f));
  EXPECT_EQ(contents(graph().getCollisions(p_other, p_other->getPosition())), Objects{p_o});
  delete p_o;
  EXPECT_FALSE(log.contains("Error"));
}

TEST_F(SceneGraphFixture, StartingTwiceIsRefusedByTheGrid) {
  EXPECT_EQ(graph().startUp(), -1);
  EXPECT_TRUE(log.contains("Grid::startUp(): Warning! Grid allocated. Not proceeding."));
}
