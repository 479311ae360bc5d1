// Geometry of objects: world boxes and the side from which one object meets
// another.
#include <gtest/gtest.h>

#include "WorldTestSupport.h"
#include "WorldGeometry.h"
#include "utility.h"

using vx::Box;
using vx::Vector;
using vxtest::Recorder;

namespace {

class GeometryObjectTest : public vxtest::WorldFixture {
 protected:
  // A unit obstacle filling x 10 to 11 and y 10 to 11.
  Recorder *p_target = nullptr;

  void SetUp() override {
    WorldFixture::SetUp();
    p_target = new Recorder("target", Vector(10, 10));
  }

  // The normal for a unit object standing still with its box's corner at
  // (x, y): with no velocity the search keeps the current place.
  Vector normalFrom(float x, float y) {
    Recorder *p_probe = new Recorder("probe", Vector(x, y), vx::SPECTRAL);
    Vector normal = vx::getNormal(p_probe, p_target);
    m_world.markForDelete(p_probe);
    return normal;
  }
};

TEST_F(GeometryObjectTest, WorldBoxIsTheBoxMovedByThePosition) {
  vx::Object *p_o = new vx::Object; // Box corner (-0.5,-0.5), 0.99 each way, at (1,1).
  EXPECT_EQ(vx::getWorldBox(p_o), Box(Vector(0.5f, 0.5f), 0.99f, 0.99f));
  EXPECT_EQ(vx::getWorldBox(p_o, Vector(10, 20)), Box(Vector(9.5f, 19.5f), 0.99f, 0.99f));
  p_o->setBox(Box(Vector(-2.5f, -1.5f), 5, 3));
  p_o->setPosition(Vector(4, -2));
  EXPECT_EQ(vx::getWorldBox(p_o), Box(Vector(1.5f, -3.5f), 5, 3));
  EXPECT_EQ(p_o->getPosition(), Vector(4, -2)); // The placed form does not move it.
  EXPECT_EQ(vx::getWorldBox(p_o, Vector(0, 0)), Box(Vector(-2.5f, -1.5f), 5, 3));
}

TEST_F(GeometryObjectTest, NormalOfEachSide) {
  EXPECT_EQ(normalFrom(10.2f, 9.5f), Vector(0, -1));  // Above, overlapping on x.
  EXPECT_EQ(normalFrom(10.2f, 11.5f), Vector(0, 1));  // Below.
  EXPECT_EQ(normalFrom(8.5f, 10.2f), Vector(-1, 0));  // Left.
  EXPECT_EQ(normalFrom(11.5f, 10.2f), Vector(1, 0));  // Right, overlapping on y.
  EXPECT_EQ(normalFrom(8.5f, 8.5f), Vector(-1, -1));  // Diagonal neighbours.
  EXPECT_EQ(normalFrom(11.5f, 8.5f), Vector(1, -1));
  EXPECT_EQ(normalFrom(8.5f, 11.5f), Vector(-1, 1));
  EXPECT_EQ(normalFrom(11.5f, 11.5f), Vector(1, 1));
}

TEST_F(GeometryObjectTest, ProbesAreTriedInOrder) {
  // Touching the top edge already meets the probe above.
  EXPECT_EQ(normalFrom(10.5f, 9), Vector(0, -1));
  // Overlapping the top-left corner meets the above, left and top-left
  // probes: above comes first.
  EXPECT_EQ(normalFrom(9.5f, 9.5f), Vector(0, -1));
  // The lower-left corner: below comes before left.
  EXPECT_EQ(normalFrom(9.5f, 10.5f), Vector(0, 1));
  // Level with the obstacle, its top edge still meets the probe above.
  EXPECT_EQ(normalFrom(9.5f, 10), Vector(0, -1));
  // Beside the lower-left corner, meeting the left and lower-left probes:
  // the side comes first.
  EXPECT_EQ(normalFrom(8.6f, 10.5f), Vector(-1, 0));
}

TEST_F(GeometryObjectTest, NoContactGivesZero) {
  EXPECT_EQ(normalFrom(12.5f, 10), Vector(0, 0)); // More than one width away.
  EXPECT_EQ(normalFrom(10, 7.5f), Vector(0, 0));
}

TEST_F(GeometryObjectTest, SearchStopsShortOfTheObstacle) {
  // Moving right at 1 cell a step from x 1.2 towards an obstacle at x 3: the
  // last free place found is x 1.825, within a width of the obstacle.
  p_target->setPosition(Vector(3, 0));
  Recorder *p_mover = new Recorder("mover", Vector(1.2f, 0), vx::SPECTRAL);
  p_mover->setVelocity(Vector(1, 0));
  EXPECT_EQ(vx::getNormal(p_mover, p_target), Vector(-1, 0));

  // Falling onto it from above.
  p_mover->setPosition(Vector(3.2f, -1.8f));
  p_mover->setVelocity(Vector(0, 1));
  EXPECT_EQ(vx::getNormal(p_mover, p_target), Vector(0, -1));
}

TEST_F(GeometryObjectTest, SearchStepKeepsItsScaling) {
  // The step is scaled by each pass's factor on top of the earlier ones.
  p_target->setPosition(Vector(5, 0));
  Recorder *p_mover = new Recorder("mover", Vector(0, 0), vx::SPECTRAL);

  // The first half-step already reaches the obstacle, which scales the step
  // to nothing for every later pass: the free place stays where the mover
  // is, more than a width from the obstacle, so no side is found.
  p_mover->setVelocity(Vector(8, 0));
  EXPECT_EQ(vx::getNormal(p_mover, p_target), Vector(0, 0));

  // Growing factors: the last pass reaches past the obstacle (x 2.5 + 3.66),
  // which counts as free, so the mover is taken to have met its right side.
  p_mover->setPosition(Vector(2.5f, 0));
  p_mover->setVelocity(Vector(2, 0));
  EXPECT_EQ(vx::getNormal(p_mover, p_target), Vector(1, 0));
}

} // namespace
