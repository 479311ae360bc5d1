#include "Animation.h"

#include <cstdint>
#include <istream>
#include <ostream>

#include "Sprite.h"
#include "utility.h"

namespace vx {

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
  writeString(out, m_name);
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
