// The pixel mask: which pixels a figure's bounds reach, and finding what was
// marked inside a rectangle, across the 64-pixel words of a row.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "PixelMask.h"

using vx::PixelMask;
using vx::PixelRect;

namespace {

bool same(PixelRect a, PixelRect b) {
  if (a.isEmpty() || b.isEmpty())
    return a.isEmpty() && b.isEmpty();
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string describe(PixelRect r) {
  return "[" + std::to_string(r.left) + ", " + std::to_string(r.right) + ") x [" +
         std::to_string(r.top) + ", " + std::to_string(r.bottom) + ")";
}

} // namespace

// A pixel belongs to a figure when its centre (x + 0.5) lies inside the bounds.
TEST(PixelMask, AroundTakesThePixelsWhoseCentresAreInside) {
  struct Case {
    float left, top, right, bottom;
    PixelRect expected;
  };
  const float nan = std::nanf("");
  const std::vector<Case> cases = {
      {0, 0, 1, 1, {0, 0, 1, 1}},
      {0.6f, 0, 1.4f, 1, {1, 0, 1, 1}},          // No centre inside: empty.
      {10.2f, 3.5f, 20.5f, 7.5f, {10, 3, 21, 8}}, // Centres on the edges count.
      {10.51f, 0, 11.49f, 2, {10, 0, 12, 2}},     // Within 1/64 of a pixel counts.
      {-5, -5, 2000, 2000, {0, 0, 100, 50}},      // Cut to the window.
      {150, 60, 160, 70, {100, 50, 100, 50}},     // Outside: empty.
      {nan, 2, 3, 4, {0, 0, 100, 50}},            // Not a number: the whole window.
  };
  const PixelMask mask(100, 50);
  for (const Case &c : cases) {
    const PixelRect got = mask.around(c.left, c.top, c.right, c.bottom);
    EXPECT_TRUE(same(got, c.expected)) << c.left << ", " << c.top << ", " << c.right << ", "
                                       << c.bottom << " gave " << describe(got);
  }
}

TEST(PixelMask, MarkedFindsTheBoundsOfWhatWasMarkedInARectangle) {
  PixelMask mask(200, 50);
  mask.mark(PixelRect{60, 2, 70, 4});   // Across the first word boundary.
  mask.mark(PixelRect{130, 10, 131, 11}); // One pixel in the third word.
  mask.mark(PixelRect{190, 45, 400, 90}); // Cut to the window.
  struct Case {
    PixelRect query, expected;
  };
  const std::vector<Case> cases = {
      {{0, 0, 200, 50}, {60, 2, 200, 50}},
      {{0, 0, 100, 50}, {60, 2, 70, 4}},
      {{65, 0, 66, 50}, {65, 2, 66, 4}},
      {{0, 0, 60, 50}, {0, 0, 0, 0}},
      {{64, 3, 129, 50}, {64, 3, 70, 4}},
      {{120, 0, 190, 50}, {130, 10, 131, 11}},
      {{-10, -10, 0, 0}, {0, 0, 0, 0}},
  };
  for (const Case &c : cases) {
    const PixelRect got = mask.marked(c.query);
    EXPECT_TRUE(same(got, c.expected)) << describe(c.query) << " gave " << describe(got);
    EXPECT_EQ(mask.any(c.query), !c.expected.isEmpty()) << describe(c.query);
  }

  mask.clear();
  EXPECT_FALSE(mask.any(PixelRect{0, 0, 200, 50}));
  mask.markAll();
  EXPECT_TRUE(same(mask.marked(PixelRect{-5, 7, 300, 9}), PixelRect{0, 7, 200, 9}));
}
