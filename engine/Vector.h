// A 2D vector of floats in world cells: x grows to the right, y downward.
#ifndef VX_VECTOR_H
#define VX_VECTOR_H

#include <iosfwd>
#include <string>

namespace vx {

class Vector {
 private:
  float m_x; // Horizontal coordinate, to the right.
  float m_y; // Vertical coordinate, downward.

 public:
  Vector();
  Vector(float init_x, float init_y);

  float getX() const;
  float getY() const;
  void setX(float new_x);
  void setY(float new_y);
  void setXY(float new_x, float new_y);

  // sqrt(x^2 + y^2).
  float getMagnitude() const;

  // Scales to unit length; a zero vector stays zero.
  void normalize();

  // Multiplies both coordinates by s.
  void scale(float s);

  Vector operator+(const Vector &other) const;
  Vector operator-(const Vector &other) const;
  Vector &operator+=(const Vector &other);

  // Exact comparison of both coordinates.
  bool operator==(const Vector &other) const;
  bool operator!=(const Vector &other) const;

  // Both coordinates exactly 0.
  bool isZero() const;

  // "(x,y)", each coordinate as toString(float) writes it.
  std::string toString() const;

  // Writes x then y as little-endian 32-bit floats (8 bytes). 0, or -1 after
  // logging when the stream is no longer good.
  int serialize(std::ostream &out) const;

  // Reads the 8 bytes written by serialize(). On failure logs, returns -1 and
  // leaves the vector unchanged.
  int deserialize(std::istream &in);
};

} // namespace vx

#endif // VX_VECTOR_H
