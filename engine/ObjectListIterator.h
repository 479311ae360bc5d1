/// \file
/// Walks an ObjectList live: if the list shrinks meanwhile, the walk follows it.
#ifndef VX_OBJECT_LIST_ITERATOR_H
#define VX_OBJECT_LIST_ITERATOR_H

#include "ObjectList.h"

namespace vx {

/// Walks an ObjectList from first to last. The list must outlive the iterator and not change
/// meanwhile.
class ObjectListIterator {
 private:
  const ObjectList *m_p_list; // The list walked.
  int m_index;                // Current position.

 public:
  /// An iterator on the list's first object.
  explicit ObjectListIterator(const ObjectList *p_list);

  /// Goes back to the first object.
  void first();
  /// Goes to the next object.
  void next();
  /// Whether it went past the last object.
  bool isDone() const;

  /// The object at the current position, or null past the end.
  Object *currentObject() const;
};

} // namespace vx

#endif // VX_OBJECT_LIST_ITERATOR_H
