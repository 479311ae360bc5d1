/// \file
/// Walks an ObjectList live: if the list shrinks meanwhile, the walk follows it.
#ifndef VX_OBJECT_LIST_ITERATOR_H
#define VX_OBJECT_LIST_ITERATOR_H

#include "ObjectList.h"

namespace vx {

class ObjectListIterator {
 private:
  const ObjectList *m_p_list; // The list walked.
  int m_index;                // Current position.

 public:
  explicit ObjectListIterator(const ObjectList *p_list);

  void first();
  void next();
  bool isDone() const;

  /// The object at the current position, or null past the end.
  Object *currentObject() const;
};

} // namespace vx

#endif // VX_OBJECT_LIST_ITERATOR_H
