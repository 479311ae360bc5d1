#include "Vector.h"

#include <cmath>
#include <istream>
#include <ostream>

#include "utility.h"

namespace vx {

Vector::Vector() : m_x(0), m_y(0) {}

Vector::Vector(float init_x, float init_y) : m_x(init_x), m_y(init_y) {}

float Vector::getX() const { return m_x; }

float Vector::getY() const { return m_y; }

void Vector::setX(float new_x) { m_x = new_x; }

void Vector::setY(float new_y) { m_y = new_y; }

void Vector::setXY(float new_x, float new_y) {
  m_x = new_x;
  m_y = new_y;
}

float Vector::getMagnitude() const { return std::sqrt(m_x * m_x + m_y * m_y); }

void Vector::normalize() {
  float length = getMagnitude();
  if (length > 0) {
    m_x /= length;
    m_y /= length;
  }
}

void Vector::scale(float s) {
  m_x *= s;
  m_y *= s;
}

Vector Vector::operator+(const Vector &other) const { return Vector(m_x + other.m_x, m_y + other.m_y); }

Vector Vector::operator-(const Vector &other) const { return Vector(m_x - other.m_x, m_y - other.m_y); }

Vector &Vector::operator+=(const Vector &other) {
  m_x += other.m_x;
  m_y += other.m_y;
  return *this;
}

bool Vector::operator==(const Vector &other) const { return m_x == other.m_x && m_y == other.m_y; }

bool Vector::operator!=(const Vector &other) const { return !(*this == other); }

bool Vector::isZero() const { return m_x == 0 && m_y == 0; }

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
