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

void ObjectSnapshot::forget(const Object *p_o) {
  // Only objects still ahead matter; the walk's end makes the rest moot.
  if (m_next < m_objects.size())
    m_gone.insert(p_o);
}

SnapshotStack::SnapshotStack() : m_depth(0) {}

ObjectSnapshot &SnapshotStack::grow() {
  m_snapshots.emplace_back();
  return m_snapshots[m_depth++];
}

void SnapshotStack::forget(const Object *p_o) {
  for (size_t i = 0; i < m_depth; i++)
    m_snapshots[i].forget(p_o);
}

} // namespace vx
