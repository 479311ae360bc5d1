#include "Vector.h"

#include <cmath>
#include <istream>
#include <ostream>

#include "utility.h"

namespace vx {

float Vector::getMagnitude() const { return std::sqrt(m_x * m_x + m_y * m_y); }

void Vector::normalize() {
  float length = getMagnitude();
  if (length > 0) {
    m_x /= length;
    m_y /= length;
  }
}

std::string Vector::toString() const {
  return "(" + vx::toString(m_x) + "," + vx::toString(m_y) + ")";
}

int Vector::serialize(std::ostream &out) const {
  writeFloat(out, m_x);
  writeFloat(out, m_y);
  return checkStream("Vector::serialize()", out);
}

int Vector::deserialize(std::istream &in) {
  float x = 0, y = 0;
  if (readFloat(in, x) && readFloat(in, y))
    setXY(x, y);
  return checkStream("Vector::deserialize()", in);
}

} // namespace vx
