/// \file
/// A walk over the objects that a set or list held at one moment. Objects that
/// go away while the walk is under way are reported to it (forget) and
/// skipped, so the walk never hands out a deleted object, whatever the walk's
/// owner does meanwhile.
#ifndef VX_OBJECT_SNAPSHOT_H
#define VX_OBJECT_SNAPSHOT_H

#include <cstddef>
#include <deque>
#include <unordered_set>
#include <vector>

#include "ObjectSet.h"

namespace vx {

class Object;

/// One walk over the objects a set held when it was taken, skipping those that went away since.
class ObjectSnapshot {
 private:
  std::vector<Object *> m_objects;           // The objects, in walking order.
  size_t m_next;                             // Place of the next object to hand out.
  std::unordered_set<const Object *> m_gone; // Objects that went away meanwhile.

 public:
  /// An empty walk.
  ObjectSnapshot();

  /// Starts a new walk over the set's objects. The storage of earlier walks is
  /// reused, so taking a snapshot allocates nothing once it has grown.
  void take(const ObjectSet &set);

  /// Starts a new walk over the objects the caller puts into the list returned.
  std::vector<Object *> &fill();

  /// The next object not gone, or null at the end.
  Object *next() {
    while (m_next < m_objects.size()) {
      Object *p_o = m_objects[m_next++];
      if (m_gone.empty() || m_gone.count(p_o) == 0)
        return p_o;
    }
    return nullptr;
  }

  /// Whether nothing is left to walk.
  bool isEmpty() const { return m_objects.empty(); }

  /// The object `ahead` places after the next one to hand out, or null past
  /// the end or when it has gone.
  Object *peek(size_t ahead) const {
    const size_t place = m_next + ahead;
    if (place >= m_objects.size())
      return nullptr;
    Object *p_o = m_objects[place];
    return m_gone.empty() || m_gone.count(p_o) == 0 ? p_o : nullptr;
  }

  /// The object went away: it is never handed out from now on.
  void forget(const Object *p_o);
};

/// Snapshots for walks that nest (a handler that starts a walk of its own),
/// one per depth, kept for reuse by later walks at the same depth.
class SnapshotStack {
 private:
  std::deque<ObjectSnapshot> m_snapshots; // References stay valid as it grows.
  size_t m_depth;                         // Snapshots in use.

  // Adds the snapshot for a walk deeper than any before.
  ObjectSnapshot &grow();

 public:
  /// No walk under way.
  SnapshotStack();

  ///@{
  /// The snapshot for a walk that starts now; push and pop go in pairs.
  ObjectSnapshot &push() { return m_depth < m_snapshots.size() ? m_snapshots[m_depth++] : grow(); }
  void pop() { m_depth--; }
  ///@}

  /// Tells every walk under way that the object went away.
  void forget(const Object *p_o);
};

} // namespace vx

#endif // VX_OBJECT_SNAPSHOT_H
