#include "ObjectSnapshot.h"

namespace vx {

ObjectSnapshot::ObjectSnapshot() : m_next(0) {}

void ObjectSnapshot::take(const ObjectSet &set) { set.appendTo(fill()); }

std::vector<Object *> &ObjectSnapshot::fill() {
  m_objects.clear();
  m_next = 0;
  // Clearing an unordered set costs its bucket count, even when it is empty.
  if (!m_gone.empty())
    m_gone.clear();
  return m_objects;
}

Object *ObjectSnapshot::next() {
  while (m_next < m_objects.size()) {
    Object *p_o = m_objects[m_next++];
    if (m_gone.empty() || m_gone.count(p_o) == 0)
      return p_o;
  }
  return nullptr;
}

void ObjectSnapshot::forget(const Object *p_o) {
  // Only objects still ahead matter; the walk's end makes the rest moot.
  if (m_next < m_objects.size())
    m_gone.insert(p_o);
}

SnapshotStack::SnapshotStack() : m_depth(0) {}

ObjectSnapshot &SnapshotStack::push() {
  if (m_depth == m_snapshots.size())
    m_snapshots.emplace_back();
  return m_snapshots[m_depth++];
}

void SnapshotStack::pop() { m_depth--; }

void SnapshotStack::forget(const Object *p_o) {
  for (size_t i = 0; i < m_depth; i++)
    m_snapshots[i].forget(p_o);
}

} // namespace vx
