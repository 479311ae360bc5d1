#include "Path.h"

#include <algorithm>
#include <climits>
#include <istream>
#include <ostream>
#include <utility>

#include "utility.h"

namespace vx {

Path::Path() : m_index(0) {}

Path::Path(std::vector<Vector> positions) : m_positions(std::move(positions)), m_index(0) {}

void Path::addPosition(Vector position) { m_positions.push_back(position); }

const std::vector<Vector> &Path::getPositions() const { return m_positions; }

int Path::getCount() const { return static_cast<int>(m_positions.size()); }

void Path::clear() {
  m_positions.clear();
  m_index = 0;
}

int Path::getIndex() const { return m_index; }

void Path::setIndex(int new_index) { m_index = std::clamp(new_index, 0, getCount()); }

bool Path::isDone() const { return m_index >= getCount(); }

Vector Path::getCurrent() const {
  if (m_index < 0 || m_index >= getCount())
    return Vector();
  return m_positions[static_cast<size_t>(m_index)];
}

void Path::next() {
  if (m_index < getCount())
    m_index++;
}

std::string Path::toString() const {
  std::string text;
  for (const Vector &position : m_positions)
    text += position.toString() + "|";
  return text;
}

int Path::serialize(std::ostream &out) const {
  writeUint64(out, m_positions.size());
  for (const Vector &position : m_positions) {
    writeFloat(out, position.getX());
    writeFloat(out, position.getY());
  }
  return checkStream("Path::serialize()", out);
}

int Path::deserialize(std::istream &in) {
  m_positions.clear();
  std::uint64_t count = 0;
  bool ok = readUint64(in, count);
  // More waypoints than an index can address fail; more than the stream
  // still holds (8 bytes each) run past its end. Either before anything is read.
  if (ok && count > static_cast<std::uint64_t>(INT_MAX))
    in.setstate(std::ios::failbit);
  else if (ok && count > bytesLeft(in) / 8)
    in.setstate(std::ios::eofbit | std::ios::failbit);
  for (std::uint64_t i = 0; ok && in.good() && i < count; i++) {
    float x = 0, y = 0;
    ok = readFloat(in, x) && readFloat(in, y);
    if (ok)
      m_positions.emplace_back(x, y);
  }
  int result = checkStream("Path::deserialize()", in);
  if (result != 0)
    m_positions.clear();
  m_index = std::min(m_index, getCount());
  return result;
}

} // namespace vx
