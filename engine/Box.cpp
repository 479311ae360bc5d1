#include "Box.h"

#include <istream>
#include <ostream>

#include "utility.h"

namespace vx {

std::string Box::toString() const {
  return m_corner.toString() + " h: " + vx::toString(m_horizontal) + " v: " + vx::toString(m_vertical);
}

int Box::serialize(std::ostream &out) const {
  writeFloat(out, m_corner.getX());
  writeFloat(out, m_corner.getY());
  writeFloat(out, m_horizontal);
  writeFloat(out, m_vertical);
  return checkStream("Box::serialize()", out);
}

int Box::deserialize(std::istream &in) {
  float x = 0, y = 0, horizontal = 0, vertical = 0;
  if (readFloat(in, x) && readFloat(in, y) && readFloat(in, horizontal) && readFloat(in, vertical)) {
    m_corner.setXY(x, y);
    m_horizontal = horizontal;
    m_vertical = vertical;
  }
  return checkStream("Box::deserialize()", in);
}

} // namespace vx
