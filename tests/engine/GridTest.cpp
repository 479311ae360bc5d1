// The uniform grid that files solid objects by the cells their boxes cover.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "Config.h"
#include "Grid.h"
#include "Object.h"
#include "ObjectList.h"
#include "SceneGraph.h"
#include "TestSupport.h"
#include "WorldTestSupport.h"
#include "WorldManager.h"

using vx::Box;
using vx::Grid;
using vx::GridKey;
using vx::GridKeySet;
using vx::Object;
using vx::OUT_OF_BOUNDS_KEY;
using vx::Vector;

namespace {

std::vector<Object *> contents(const vx::ObjectList &list) {
  std::vector<Object *> result;
  for (int i = 0; i < list.getCount(); i++)
    result.push_back(list[i]);
  return result;
}

vx::WorldManager &world() { return vx::WorldManager::getInstance(); }

// The grid of the world's scene graph.
const Grid &worldGrid() { return world().getSceneGraph().getGrid(); }

// A world of 80 x 24 cells with the default 20 x 8 grid cells.
class GridFixture : public vxtest::WorldFixture {
 protected:
  vxtest::LogCapture &log = m_log;

  // A solid object whose world box has its top-left corner at (x, y).
  Object *make(float x, float y, float width = 1, float height = 1) {
    Object *p_o = new Object;
    p_o->setBox(Box(Vector(0, 0), width, height));
    p_o->setPosition(Vector(x, y));
    return p_o;
  }
};

} // namespace

TEST_F(GridFixture, BoundaryOf80By24With20By8CellsGives4ColumnsAnd3Rows) {
  EXPECT_EQ(worldGrid().getCellWidth(), 20);
  EXPECT_EQ(worldGrid().getCellHeight(), 8);
  EXPECT_EQ(worldGrid().getNumCols(), 4);
  EXPECT_EQ(worldGrid().getNumRows(), 3);

  // A partial cell at the right or bottom counts as a whole one.
  world().setBoundary(Box(Vector(0, 0), 81, 24.5));
  EXPECT_EQ(worldGrid().getNumCols(), 5);
  EXPECT_EQ(worldGrid().getNumRows(), 4);
}

TEST(Grid, TheWorldStartsWithAnEmptyBoundarySoEveryObjectIsOutOfBounds) {
  vxtest::LogCapture log;
  ASSERT_EQ(world().startUp(), 0);
  EXPECT_TRUE(worldGrid().isAllocated());
  EXPECT_EQ(worldGrid().getNumCols(), 0);
  EXPECT_EQ(worldGrid().getNumRows(), 0);
  Object *p_o = new Object;
  EXPECT_EQ(worldGrid().cellsOf(p_o, Vector(5, 5)), GridKeySet{OUT_OF_BOUNDS_KEY});
  EXPECT_EQ(contents(worldGrid().getOutOfBounds()), std::vector<Object *>{p_o});
  world().shutDown();
}

TEST_F(GridFixture, KeysFollowTheBoxAndAreOrderedByRowThenColumn) {
  Object *p_o = make(0, 0);
  const Grid &grid = worldGrid();

  // An edge exactly on a cell boundary also covers the next cell.
  p_o->setBox(Box(Vector(0, 0), 0, 0));
  EXPECT_EQ(grid.cellsOf(p_o, Vector(20, 1)), (GridKeySet{{1, 0}}));
  p_o->setBox(Box(Vector(0, 0), 20, 0));
  EXPECT_EQ(grid.cellsOf(p_o, Vector(0, 1)), (GridKeySet{{0, 0}, {1, 0}}));
  p_o->setBox(Box(Vector(0, 0), 19.5f, 0));
  EXPECT_EQ(grid.cellsOf(p_o, Vector(0, 1)), (GridKeySet{{0, 0}}));

  // Four cells around a corner, row by row.
  p_o->setBox(Box(Vector(0, 0), 2, 2));
  GridKeySet keys = grid.cellsOf(p_o, Vector(19, 7));
  EXPECT_EQ(std::vector<GridKey>(keys.begin(), keys.end()),
            (std::vector<GridKey>{{0, 0}, {1, 0}, {0, 1}, {1, 1}}));

  // Reaching out of the grid adds the out-of-bounds key, which comes first.
  keys = grid.cellsOf(p_o, Vector(-0.5f, 7));
  EXPECT_EQ(std::vector<GridKey>(keys.begin(), keys.end()),
            (std::vector<GridKey>{OUT_OF_BOUNDS_KEY, {0, 0}, {0, 1}}));
  EXPECT_EQ(grid.cellsOf(p_o, Vector(3, -1)), (GridKeySet{OUT_OF_BOUNDS_KEY, {0, 0}}));
  EXPECT_EQ(grid.cellsOf(p_o, Vector(79, 23)), (GridKeySet{OUT_OF_BOUNDS_KEY, {3, 2}}));

  // A box wholly outside is only out of bounds, however far away.
  EXPECT_EQ(grid.cellsOf(p_o, Vector(100, 1)), GridKeySet{OUT_OF_BOUNDS_KEY});
  EXPECT_EQ(grid.cellsOf(p_o, Vector(-10, 1)), GridKeySet{OUT_OF_BOUNDS_KEY});
  EXPECT_EQ(grid.cellsOf(p_o, Vector(1, 30)), GridKeySet{OUT_OF_BOUNDS_KEY});
  EXPECT_EQ(grid.cellsOf(p_o, Vector(1e30f, -1e30f)), GridKeySet{OUT_OF_BOUNDS_KEY});
  float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(grid.cellsOf(p_o, Vector(nan, 1)), GridKeySet{OUT_OF_BOUNDS_KEY});
}

TEST_F(GridFixture, ObjectsPartlyOutsideAreOutOfBoundsUntilTheyMoveInside) {
  const Grid &grid = worldGrid();
  Object *p_o = make(-0.5f, 3);
  EXPECT_EQ(contents(grid.getOutOfBounds()), std::vector<Object *>{p_o});
  EXPECT_EQ(contents(grid.getCell(OUT_OF_BOUNDS_KEY)), std::vector<Object *>{p_o});
  EXPECT_EQ(contents(grid.getCell({0, 0})), std::vector<Object *>{p_o});

  p_o->setPosition(Vector(2, 3));
  EXPECT_TRUE(grid.getOutOfBounds().isEmpty());
  EXPECT_EQ(contents(grid.getCell({0, 0})), std::vector<Object *>{p_o});

  p_o->setPosition(Vector(200, 3));
  EXPECT_EQ(contents(grid.getOutOfBounds()), std::vector<Object *>{p_o});
  EXPECT_TRUE(grid.getCell({0, 0}).isEmpty());
  EXPECT_FALSE(log.contains("out of bounds"));
}

TEST_F(GridFixture, MovesWithinTheSameCellsChangeNoList) {
  const Grid &grid = worldGrid();
  Object *p_a = make(2, 2);
  Object *p_b = make(5, 5);
  ASSERT_EQ(contents(grid.getCell({0, 0})), (std::vector<Object *>{p_a, p_b}));

  // Were the mover taken out and put back, it would now follow p_b.
  p_a->setPosition(Vector(10, 4));
  EXPECT_EQ(contents(grid.getCell({0, 0})), (std::vector<Object *>{p_a, p_b}));

  // Into the next column: only the cells left behind and the new ones change.
  p_a->setBox(Box(Vector(0, 0), 2, 1));
  p_a->setPosition(Vector(19, 4));
  EXPECT_EQ(contents(grid.getCell({0, 0})), (std::vector<Object *>{p_b, p_a}));
  EXPECT_EQ(contents(grid.getCell({1, 0})), std::vector<Object *>{p_a});
  p_a->setPosition(Vector(30, 4));
  EXPECT_EQ(contents(grid.getCell({0, 0})), std::vector<Object *>{p_b});
  EXPECT_EQ(contents(grid.getCell({1, 0})), std::vector<Object *>{p_a});
}

// Every list of the grid holds exactly the objects whose keys name it: after
// moves, a rebuilt grid (new boundary), a second grid filing the same
// objects, deactivation and deletion.
TEST_F(GridFixture, EveryListHoldsTheObjectsWhoseKeysNameIt) {
  std::vector<Object *> objects = {make(1, 1), make(19.5f, 7.5f, 2, 2), make(-1, 3, 2, 1),
                                   make(79, 23, 3, 3)};
  auto expectFiled = [&](const Grid &grid, const char *when) {
    std::vector<GridKey> keys{OUT_OF_BOUNDS_KEY};
    for (int row = 0; row < grid.getNumRows(); row++)
      for (int col = 0; col < grid.getNumCols(); col++)
        keys.push_back({col, row});
    for (const GridKey &key : keys) {
      std::vector<Object *> expected;
      for (Object *p_o : objects)
        if (p_o->isActive() && grid.cellsOf(p_o, p_o->getPosition()).count(key) == 1)
          expected.push_back(p_o);
      std::vector<Object *> filed = contents(grid.getCell(key));
      std::sort(expected.begin(), expected.end());
      std::sort(filed.begin(), filed.end());
      EXPECT_EQ(filed, expected) << when << ", key " << key.col << "," << key.row;
    }
  };
  expectFiled(worldGrid(), "made");
  Grid other; // Cut for the present 80 x 24 world.
  ASSERT_EQ(other.startUp(), 0);
  objects[1]->setPosition(Vector(40.5f, 15.5f));
  objects[2]->setPosition(Vector(3, 3));
  expectFiled(worldGrid(), "moved");
  world().setBoundary(Box(Vector(0, 0), 200, 60));
  objects[0]->setPosition(Vector(150, 50));
  objects[1]->setPosition(Vector(100.5f, 30.5f));
  expectFiled(worldGrid(), "moved in a larger world");

  for (Object *p_o : objects)
    other.insertObject(p_o);
  objects[1]->setPosition(Vector(61, 9));
  other.removeObject(objects[2]);
  expectFiled(worldGrid(), "moved while also in another grid");

  world().setBoundary(Box(Vector(0, 0), 80, 24));
  objects[1]->setActive(false);
  world().markForDelete(objects[0]);
  world().update();
  objects.erase(objects.begin());
  objects[1]->setPosition(Vector(70, 20));
  expectFiled(worldGrid(), "after a smaller world, deactivation and deletion");
}

TEST_F(GridFixture, CollisionsAreReportedOnceAndNeverIncludeTheQueriedObject) {
  // Both boxes span the same four cells.
  Object *p_a = make(19, 7, 2, 2);
  Object *p_b = make(19.5f, 7.5f, 2, 2);
  Object *p_far = make(60, 20);
  EXPECT_EQ(contents(world().getSceneGraph().getCollisions(p_a, p_a->getPosition())),
            std::vector<Object *>{p_b});
  EXPECT_EQ(contents(worldGrid().getCollisions(p_b, p_b->getPosition())),
            std::vector<Object *>{p_a});

  // Boxes that only touch along an edge collide.
  Object *p_touch = make(21, 7, 1, 1);
  EXPECT_EQ(contents(worldGrid().getCollisions(p_a, p_a->getPosition())),
            (std::vector<Object *>{p_b, p_touch}));

  // The query uses the box at the given position, not the current one.
  EXPECT_TRUE(worldGrid().getCollisions(p_a, Vector(40, 20)).isEmpty());
  EXPECT_EQ(contents(worldGrid().getCollisions(p_a, Vector(59.5f, 19.5f))),
            std::vector<Object *>{p_far});

  // Spectral objects are not in the grid.
  p_b->setSolidness(vx::SPECTRAL);
  EXPECT_EQ(contents(worldGrid().getCollisions(p_a, p_a->getPosition())),
            std::vector<Object *>{p_touch});
}

TEST_F(GridFixture, CollisionsAreOrderedByTheFirstCellInWhichEachObjectIsMet) {
  Object *p_right = make(21, 2);   // Cell (1, 0) only, filed first.
  Object *p_left = make(18.5f, 2); // Cell (0, 0) only, filed later.
  Object *p_mover = make(5, 12);
  p_mover->setBox(Box(Vector(0, 0), 4, 1));
  EXPECT_EQ(contents(worldGrid().getCollisions(p_mover, Vector(18, 2))),
            (std::vector<Object *>{p_left, p_right}));

  // Objects sticking out of the boundary are found through the out-of-bounds list.
  Object *p_edge = make(-1, 12, 2, 1);
  EXPECT_EQ(contents(worldGrid().getCollisions(p_mover, Vector(-3, 12))),
            std::vector<Object *>{p_edge});
}

TEST_F(GridFixture, StartingTwiceIsRefusedAndShuttingDownAllowsAnotherStart) {
  Grid grid;
  EXPECT_FALSE(grid.isAllocated());
  ASSERT_EQ(grid.startUp(), 0);
  EXPECT_EQ(grid.getNumCols(), 4);
  EXPECT_EQ(grid.startUp(), -1);
  EXPECT_EQ(log.count("Grid::startUp(): Warning! Grid allocated. Not proceeding."), 1);

  Object *p_o = make(-1, 1);
  ASSERT_EQ(grid.insertObject(p_o), 0);
  EXPECT_EQ(grid.getOutOfBounds().getCount(), 1);
  grid.shutDown();
  EXPECT_FALSE(grid.isAllocated());
  EXPECT_TRUE(grid.getOutOfBounds().isEmpty());
  EXPECT_EQ(grid.startUp(), 0);
  EXPECT_TRUE(grid.getCell({0, 0}).isEmpty());
}

TEST_F(GridFixture, OperationsWithoutCellsOrObjectFail) {
  Grid grid;
  Object *p_o = make(1, 1);
  EXPECT_EQ(grid.insertObject(p_o), -1);
  EXPECT_EQ(grid.removeObject(p_o), -1);
  EXPECT_EQ(grid.updatePosition(p_o, Vector(3, 3)), -1);
  EXPECT_TRUE(grid.getCollisions(p_o, Vector(1, 1)).isEmpty());
  for (const char *p_op : {"insertObject", "removeObject", "updatePosition", "getCollisions"})
    EXPECT_TRUE(log.contains(std::string("Grid::") + p_op + "(): Error! grid is NULL")) << p_op;

  ASSERT_EQ(grid.startUp(), 0);
  EXPECT_EQ(grid.insertObject(nullptr), -1);
  EXPECT_EQ(grid.removeObject(nullptr), -1);
  EXPECT_EQ(grid.updatePosition(nullptr, Vector(3, 3)), -1);
  EXPECT_TRUE(grid.getCollisions(nullptr, Vector(1, 1)).isEmpty());
  for (const char *p_op : {"insertObject", "removeObject", "updatePosition", "getCollisions"})
    EXPECT_TRUE(log.contains(std::string("Grid::") + p_op + "(): Error! Object is NULL")) << p_op;
}

TEST_F(GridFixture, RemovalOnlyTouchesSolidActiveObjects) {
  Grid grid;
  ASSERT_EQ(grid.startUp(), 0);
  Object *p_o = make(1, 1);
  p_o->setSolidness(vx::SPECTRAL);
  // Filing does not look at solidness; removal leaves a spectral object alone.
  ASSERT_EQ(grid.insertObject(p_o), 0);
  EXPECT_EQ(grid.removeObject(p_o), 0);
  EXPECT_EQ(contents(grid.getCell({0, 0})), std::vector<Object *>{p_o});

  p_o->setSolidness(vx::SOFT);
  EXPECT_EQ(grid.removeObject(p_o), 0);
  EXPECT_TRUE(grid.getCell({0, 0}).isEmpty());
  // Removing what is not there is not an error.
  EXPECT_EQ(grid.removeObject(p_o), 0);
}

TEST_F(GridFixture, HugeBoundariesAreRefusedInsteadOfExhaustingMemory) {
  world().setBoundary(Box(Vector(0, 0), 1e6f, 1e6f));
  EXPECT_TRUE(log.contains(
      "Grid::startUp(): Error! 50000 columns by 125000 rows exceed the limit of 1000000 grid "
      "cells."));
  EXPECT_EQ(worldGrid().getNumCols(), 4); // The world keeps its old boundary and grid.

  world().shutDown(); // Standalone grids read the boundary of a stopped world, which takes any.
  Grid grid;
  world().setBoundary(Box(Vector(0, 0), std::numeric_limits<float>::infinity(), 8));
  EXPECT_EQ(grid.startUp(), -1);

  // A large but reasonable world is fine.
  world().setBoundary(Box(Vector(0, 0), 20000, 400));
  EXPECT_EQ(grid.startUp(), 0);
  EXPECT_EQ(grid.getNumCols(), 1000);
  EXPECT_EQ(grid.getNumRows(), 50);

  // A negative extent gives no cells.
  Grid flipped;
  world().setBoundary(Box(Vector(0, 0), -80, 24));
  EXPECT_EQ(flipped.startUp(), 0);
  EXPECT_EQ(flipped.getNumCols(), 0);
  EXPECT_EQ(flipped.getNumRows(), 3);
}

TEST(GridConfiguration, CellSizeComesFromTheConfigurationWhenTheGridIsMade) {
  vxtest::LogCapture log;
  vx::Config::getInstance().loadConfig("grid_width:10,grid_height:4");
  Grid grid;
  vx::Config::getInstance().loadConfig("grid_width:30");
  EXPECT_EQ(grid.getCellWidth(), 10);
  EXPECT_EQ(grid.getCellHeight(), 4);
}

TEST(GridConfiguration, CellWidthBelowOneIsRefused) {
  vxtest::LogCapture log;
  vx::Config::getInstance().loadConfig("grid_width:0");
  Grid grid;
  EXPECT_EQ(grid.startUp(), -1);
  EXPECT_FALSE(grid.isAllocated());
  EXPECT_EQ(log.count("Grid::startUp(): Error! grid_width is 0, must be at least 1."), 1);

  // The world's own grid has the same size, so the world refuses to start.
  EXPECT_EQ(world().startUp(), -1);
  EXPECT_TRUE(log.contains("WorldManager::startUp(): Error! Unable to startup Scenegraph"));
  EXPECT_FALSE(world().isStarted());
}

TEST(GridConfiguration, CellHeightBelowOneIsRefused) {
  vxtest::LogCapture log;
  vx::Config::getInstance().loadConfig("grid_height:-3");
  Grid grid;
  EXPECT_EQ(grid.startUp(), -1);
  EXPECT_EQ(log.count("Grid::startUp(): Error! grid_height is -3, must be at least 1."), 1);
}
