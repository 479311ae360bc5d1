/// \file
/// A 2D vector of floats in world cells: x grows to the right, y downward.
#ifndef VX_VECTOR_H
#define VX_VECTOR_H

#include <iosfwd>
#include <string>

namespace vx {

/// A 2D vector of floats in world cells: x grows to the right, y downward. A value type.
class Vector {
 private:
  float m_x; // Horizontal coordinate, to the right.
  float m_y; // Vertical coordinate, downward.

 public:
  /// The vector (0, 0).
  Vector() : m_x(0), m_y(0) {}
  /// The vector (init_x, init_y).
  Vector(float init_x, float init_y) : m_x(init_x), m_y(init_y) {}

  /// The accessors and operators below are defined in the header: they are
  /// called in every inner loop of movement, collision and drawing.
  float getX() const { return m_x; }
  /// The vertical coordinate, downward.
  float getY() const { return m_y; }
  /// Sets the horizontal coordinate.
  void setX(float new_x) { m_x = new_x; }
  /// Sets the vertical coordinate.
  void setY(float new_y) { m_y = new_y; }
  /// Sets both coordinates.
  void setXY(float new_x, float new_y) {
    m_x = new_x;
    m_y = new_y;
  }

  /// sqrt(x^2 + y^2).
  float getMagnitude() const;

  /// Scales to unit length; a zero vector stays zero.
  void normalize();

  /// Multiplies both coordinates by s.
  void scale(float s) {
    m_x *= s;
    m_y *= s;
  }

  /// The sum, coordinate by coordinate.
  Vector operator+(const Vector &other) const { return Vector(m_x + other.m_x, m_y + other.m_y); }
  /// The difference, coordinate by coordinate.
  Vector operator-(const Vector &other) const { return Vector(m_x - other.m_x, m_y - other.m_y); }
  /// Adds other to this vector.
  Vector &operator+=(const Vector &other) {
    m_x += other.m_x;
    m_y += other.m_y;
    return *this;
  }

  /// Exact comparison of both coordinates.
  bool operator==(const Vector &other) const { return m_x == other.m_x && m_y == other.m_y; }
  /// Whether a coordinate differs.
  bool operator!=(const Vector &other) const { return !(*this == other); }

  /// Both coordinates exactly 0.
  bool isZero() const { return m_x == 0 && m_y == 0; }

  /// "(x,y)", each coordinate as toString(float) writes it.
  std::string toString() const;

  /// Writes x then y as little-endian 32-bit floats (8 bytes). 0, or -1 after
  /// logging when the stream is no longer good.
  int serialize(std::ostream &out) const;

  /// Reads the 8 bytes written by serialize(). On failure logs, returns -1 and
  /// leaves the vector unchanged.
  int deserialize(std::istream &in);
};

} // namespace vx

#endif // VX_VECTOR_H
