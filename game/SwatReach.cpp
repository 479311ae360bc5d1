#include "SwatReach.h"

#include <algorithm>

namespace {

// How far two spans [a, a + a_length] and [b, b + b_length] overlap; 0 or
// less when they only touch or lie apart.
float overlap(float a, float a_length, float b, float b_length) {
  return std::min(a + a_length, b + b_length) - std::max(a, b);
}

} // namespace

bool swatReaches(const vx::Box &swatter, const vx::Box &target) {
  const vx::Vector s = swatter.getCorner(), t = target.getCorner();
  return overlap(s.getX(), swatter.getHorizontal(), t.getX(), target.getHorizontal()) >=
             SWAT_MIN_OVERLAP &&
         overlap(s.getY(), swatter.getVertical(), t.getY(), target.getVertical()) >=
             SWAT_MIN_OVERLAP;
}
