#include "Animation.h"

#include <cstdint>
#include <istream>
#include <ostream>

#include "Sprite.h"
#include "utility.h"

namespace vx {

namespace {

void writeInt32(std::ostream &out, std::int32_t value) {
  const std::uint32_t bits = static_cast<std::uint32_t>(value);
  char bytes[4];
  for (int i = 0; i < 4; i++)
    bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xffu);
  out.write(bytes, sizeof(bytes));
}

bool readInt32(std::istream &in, std::int32_t &value) {
  unsigned char bytes[4];
  if (!in.read(reinterpret_cast<char *>(bytes), sizeof(bytes)))
    return false;
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; i++)
    bits |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
  value = static_cast<std::int32_t>(bits);
  return true;
}

// Reads a string written as its 64-bit length and its bytes. The bytes are
// read in pieces, so a corrupt length cannot make it allocate more than the
// stream actually holds.
bool readString(std::istream &in, std::string &value) {
  std::uint64_t length = 0;
  if (!readUint64(in, length))
    return false;
  std::string result;
  char buffer[4096];
  while (length > 0) {
    const std::uint64_t piece = length < sizeof(buffer) ? length : sizeof(buffer);
    if (!in.read(buffer, static_cast<std::streamsize>(piece)))
      return false;
    result.append(buffer, static_cast<std::size_t>(piece));
    length -= piece;
  }
  value = result;
  return true;
}

} // namespace

Animation::Animation()
    : m_p_sprite(nullptr), m_index(0), m_slowdown_count(0), m_transform(NONE), m_changed(true) {}

void Animation::setSprite(Sprite *p_new_sprite) {
  if (p_new_sprite != nullptr && p_new_sprite->getLabel() != m_name)
    m_name = p_new_sprite->getLabel();
  m_p_sprite = p_new_sprite;
  m_index = 0;
  m_slowdown_count = 0;
  m_changed = true;
}

Sprite *Animation::getSprite() const { return m_p_sprite; }

std::string Animation::getName() const { return m_name; }

void Animation::setIndex(int new_index) {
  if (new_index == m_index)
    return;
  m_index = new_index;
  m_changed = true;
}

int Animation::getIndex() const { return m_index; }

void Animation::setSlowdownCount(int new_slowdown_count) {
  if (new_slowdown_count == m_slowdown_count)
    return;
  m_slowdown_count = new_slowdown_count;
  m_changed = true;
}

int Animation::getSlowdownCount() const { return m_slowdown_count; }

void Animation::setTransform(Transform new_transform) {
  if (new_transform == m_transform)
    return;
  m_transform = new_transform;
  m_changed = true;
}

Transform Animation::getTransform() const { return m_transform; }

bool Animation::isChanged() const { return m_changed; }

void Animation::setChanged(bool changed) { m_changed = changed; }

int Animation::draw(Vector position) {
  if (m_p_sprite == nullptr)
    return 0;
  const int result = m_p_sprite->draw(m_index, position, m_p_sprite->getTransparency(), m_transform);
  if (m_slowdown_count == -1)
    return result;

  // Counted in a wider type so that extreme values set by hand cannot overflow.
  m_changed = true;
  if (static_cast<long long>(m_slowdown_count) + 1 < m_p_sprite->getSlowdown()) {
    m_slowdown_count++;
    return result;
  }
  m_slowdown_count = 0;
  if (m_index >= m_p_sprite->getFrameCount() - 1)
    m_index = 0;
  else
    m_index++;
  return result;
}

Box Animation::getBox() const {
  if (m_p_sprite == nullptr)
    return Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
  const float width = static_cast<float>(m_p_sprite->getWidth());
  const float height = static_cast<float>(m_p_sprite->getHeight());
  return Box(Vector(-width / 2, -height / 2), width, height);
}

std::string Animation::toString() const {
  return "sprite " + m_name + ", frame_idx " + vx::toString(m_index) + ", slowdown_count " +
         vx::toString(m_slowdown_count) + ", transform " + transformToString(m_transform);
}

int Animation::serialize(std::ostream &out) const {
  writeUint64(out, m_name.size());
  out.write(m_name.data(), static_cast<std::streamsize>(m_name.size()));
  writeInt32(out, m_index);
  writeInt32(out, m_slowdown_count);
  writeInt32(out, m_transform);
  return checkStream("Animation::serialize()", out);
}

int Animation::deserialize(std::istream &in) {
  std::string name;
  std::int32_t index = 0, slowdown_count = 0, transform = 0;
  if (readString(in, name) && readInt32(in, index) && readInt32(in, slowdown_count) &&
      readInt32(in, transform)) {
    m_p_sprite = nullptr;
    m_name = name;
    m_index = index;
    m_slowdown_count = slowdown_count;
    m_transform = static_cast<Transform>(transform);
    m_changed = true;
  }
  return checkStream("Animation::deserialize()", in);
}

} // namespace vx
