// The geometry free functions: box overlap and containment, distance, and the
// conversion between world and view positions.
#include <gtest/gtest.h>

#include "WorldGeometry.h"
#include "utility.h"

namespace {

vx::Box unitBoxAt(float x, float y) { return vx::Box(vx::Vector(x, y), 1, 1); }

// Overlap must not depend on the order of the arguments.
void expectIntersect(const vx::Box &a, const vx::Box &b, bool expected) {
  EXPECT_EQ(vx::boxIntersectsBox(a, b), expected) << a.toString() << " / " << b.toString();
  EXPECT_EQ(vx::boxIntersectsBox(b, a), expected) << b.toString() << " / " << a.toString();
}

} // namespace

TEST(BoxIntersectsBox, EdgesAndCornersCount) {
  expectIntersect(unitBoxAt(0, 0), unitBoxAt(1, 0), true);    // Shared vertical edge.
  expectIntersect(unitBoxAt(0, 0), unitBoxAt(0, 1), true);    // Shared horizontal edge.
  expectIntersect(unitBoxAt(0, 0), unitBoxAt(1, 1), true);    // Shared corner.
  expectIntersect(unitBoxAt(0, 0), unitBoxAt(1, -1), true);   // The other corner.
  expectIntersect(unitBoxAt(0, 0), unitBoxAt(1.5f, 0), false);
  expectIntersect(unitBoxAt(0, 0), unitBoxAt(0, 1.5f), false);
  expectIntersect(unitBoxAt(0, 0), unitBoxAt(1.001f, 1), false);
}

TEST(BoxIntersectsBox, NeedsOverlapOnBothAxes) {
  expectIntersect(unitBoxAt(0, 0), unitBoxAt(0.5f, 0.5f), true);
  expectIntersect(unitBoxAt(0, 0), unitBoxAt(0.5f, 3), false); // Overlaps on x only.
  expectIntersect(unitBoxAt(0, 0), unitBoxAt(3, 0.5f), false); // Overlaps on y only.
  expectIntersect(unitBoxAt(-2, -2), unitBoxAt(-1.5f, -1.5f), true);
}

TEST(BoxIntersectsBox, ContainmentAndDegenerateBoxes) {
  const vx::Box big(vx::Vector(0, 0), 10, 5);
  expectIntersect(big, vx::Box(vx::Vector(2, 2), 1, 1), true);  // Wholly inside.
  expectIntersect(big, vx::Box(vx::Vector(-1, -1), 12, 7), true); // Wholly around.
  expectIntersect(big, vx::Box(vx::Vector(4, 3), 0, 0), true);    // A point inside.
  expectIntersect(big, vx::Box(vx::Vector(10, 5), 0, 0), true);   // A point on the corner.
  expectIntersect(big, vx::Box(vx::Vector(10.5f, 5), 0, 0), false);
  // A cross: each box spans the other on one axis only.
  expectIntersect(vx::Box(vx::Vector(0, 4), 10, 1), vx::Box(vx::Vector(4, 0), 1, 10), true);
}

TEST(BoxContainsPosition, BoundaryIsInside) {
  const vx::Box box(vx::Vector(1, 2), 3, 4);
  EXPECT_TRUE(vx::boxContainsPosition(box, vx::Vector(1, 2)));
  EXPECT_TRUE(vx::boxContainsPosition(box, vx::Vector(4, 2)));
  EXPECT_TRUE(vx::boxContainsPosition(box, vx::Vector(1, 6)));
  EXPECT_TRUE(vx::boxContainsPosition(box, vx::Vector(4, 6)));
  EXPECT_TRUE(vx::boxContainsPosition(box, vx::Vector(2.5f, 4)));

  EXPECT_FALSE(vx::boxContainsPosition(box, vx::Vector(0.99f, 4)));
  EXPECT_FALSE(vx::boxContainsPosition(box, vx::Vector(4.01f, 4)));
  EXPECT_FALSE(vx::boxContainsPosition(box, vx::Vector(2, 1.99f)));
  EXPECT_FALSE(vx::boxContainsPosition(box, vx::Vector(2, 6.01f)));
  // Inside on one axis only.
  EXPECT_FALSE(vx::boxContainsPosition(box, vx::Vector(2, 10)));
  EXPECT_FALSE(vx::boxContainsPosition(box, vx::Vector(10, 3)));
}

TEST(Distance, EuclideanAndSymmetric) {
  EXPECT_FLOAT_EQ(vx::distance(vx::Vector(0, 0), vx::Vector(3, 4)), 5.0f);
  EXPECT_FLOAT_EQ(vx::distance(vx::Vector(3, 4), vx::Vector(0, 0)), 5.0f);
  EXPECT_FLOAT_EQ(vx::distance(vx::Vector(-1, -1), vx::Vector(2, 3)), 5.0f);
  EXPECT_FLOAT_EQ(vx::distance(vx::Vector(2, -7), vx::Vector(2, -7)), 0.0f);
  EXPECT_FLOAT_EQ(vx::distance(vx::Vector(0, 0), vx::Vector(0, -2.5f)), 2.5f);
}

TEST(ViewConversion, WithTheViewAtTheOriginBothWaysAreInverse) {
  const vx::Vector world(12.5f, -3);
  EXPECT_EQ(vx::worldToView(world), world);
  EXPECT_EQ(vx::viewToWorld(world), world);
  EXPECT_EQ(vx::viewToWorld(vx::worldToView(world)), world);
  EXPECT_EQ(vx::worldToView(vx::viewToWorld(vx::Vector(0, 0))), vx::Vector(0, 0));
}
