/// \file
/// An axis-aligned rectangle in world cells: a top-left corner and two extents.
#ifndef VX_BOX_H
#define VX_BOX_H

#include <iosfwd>
#include <string>

#include "Vector.h"

namespace vx {

class Box {
 private:
  Vector m_corner;    // Top-left corner.
  float m_horizontal; // Width in cells.
  float m_vertical;   // Height in cells.

 public:
  /// Corner (0,0), extents 0.
  Box() : m_corner(), m_horizontal(0), m_vertical(0) {}
  Box(Vector init_corner, float init_horizontal, float init_vertical)
      : m_corner(init_corner), m_horizontal(init_horizontal), m_vertical(init_vertical) {}

  /// Defined in the header, like Vector's: collision tests call them for every
  /// candidate pair.
  Vector getCorner() const { return m_corner; }
  void setCorner(Vector new_corner) { m_corner = new_corner; }
  float getHorizontal() const { return m_horizontal; }
  void setHorizontal(float new_horizontal) { m_horizontal = new_horizontal; }
  float getVertical() const { return m_vertical; }
  void setVertical(float new_vertical) { m_vertical = new_vertical; }

  /// Equal corners and extents (exact).
  bool operator==(const Box &other) const {
    return m_corner == other.m_corner && m_horizontal == other.m_horizontal &&
           m_vertical == other.m_vertical;
  }
  bool operator!=(const Box &other) const { return !(*this == other); }

  /// "(x,y) h: <horizontal> v: <vertical>".
  std::string toString() const;

  /// Writes corner x, corner y, horizontal, vertical as little-endian 32-bit
  /// floats (16 bytes). 0, or -1 after logging when the stream is no longer good.
  int serialize(std::ostream &out) const;

  /// Reads the 16 bytes written by serialize(). On failure logs, returns -1 and
  /// leaves the box unchanged.
  int deserialize(std::istream &in);
};

} // namespace vx

#endif // VX_BOX_H
