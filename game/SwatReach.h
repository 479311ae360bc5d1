// Which flies a swat hits: those the swatter's box covers by at least a
// quarter of a cell across and a quarter of a row down. Boxes that only touch,
// or overlap by a sliver no ink shows, are misses.
#ifndef SWAT_SWAT_REACH_H
#define SWAT_SWAT_REACH_H

#include "Box.h"

// Least overlap, in cells, along each axis for a swat to hit.
const float SWAT_MIN_OVERLAP = 0.25f;

// Whether a swatter with the box hits a target with the other box (both in
// world cells).
bool swatReaches(const vx::Box &swatter, const vx::Box &target);

#endif // SWAT_SWAT_REACH_H
