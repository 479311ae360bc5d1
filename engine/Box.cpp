#include "Box.h"

#include <istream>
#include <ostream>

#include "utility.h"

namespace vx {

Box::Box() : m_corner(), m_horizontal(0), m_vertical(0) {}

Box::Box(Vector init_corner, float init_horizontal, float init_vertical)
    : m_corner(init_corner), m_horizontal(init_horizontal), m_vertical(init_vertical) {}

Vector Box::getCorner() const { return m_corner; }

void Box::setCorner(Vector new_corner) { m_corner = new_corner; }

float Box::getHorizontal() const { return m_horizontal; }

void Box::setHorizontal(float new_horizontal) { m_horizontal = new_horizontal; }

float Box::getVertical() const { return m_vertical; }

void Box::setVertical(float new_vertical) { m_vertical = new_vertical; }

bool Box::operator==(const Box &other) const {
  return m_corner == other.m_corner && m_horizontal == other.m_horizontal &&
         m_vertical == other.m_vertical;
}

bool Box::operator!=(const Box &other) const { return !(*this == other); }

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
