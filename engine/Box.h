/// \file
/// An axis-aligned rectangle in world cells: a top-left corner and two extents.
#ifndef VX_BOX_H
#define VX_BOX_H

#include <iosfwd>
#include <string>

#include "Vector.h"

namespace vx {

/// A rectangle in world cells: its top-left corner and its horizontal and vertical extents. A
/// value type.
class Box {
 private:
  Vector m_corner;    // Top-left corner.
  float m_horizontal; // Width in cells.
  float m_vertical;   // Height in cells.

 public:
  /// Corner (0,0), extents 0.
  Box() : m_corner(), m_horizontal(0), m_vertical(0) {}
  /// A box with its top-left corner at init_corner, init_horizontal cells wide and
  /// init_vertical cells high.
  Box(Vector init_corner, float init_horizontal, float init_vertical)
      : m_corner(init_corner), m_horizontal(init_horizontal), m_vertical(init_vertical) {}

  /// Defined in the header, like Vector's: collision tests call them for every
  /// candidate pair.
  Vector getCorner() const { return m_corner; }
  /// Moves the top-left corner, in cells.
  void setCorner(Vector new_corner) { m_corner = new_corner; }
  /// The width in cells.
  float getHorizontal() const { return m_horizontal; }
  /// Sets the width in cells.
  void setHorizontal(float new_horizontal) { m_horizontal = new_horizontal; }
  /// The height in cells.
  float getVertical() const { return m_vertical; }
  /// Sets the height in cells.
  void setVertical(float new_vertical) { m_vertical = new_vertical; }

  /// Equal corners and extents (exact).
  bool operator==(const Box &other) const {
    return m_corner == other.m_corner && m_horizontal == other.m_horizontal &&
           m_vertical == other.m_vertical;
  }
  /// Whether the corner or an extent differs.
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
