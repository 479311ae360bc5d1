#include "ObjectListIterator.h"

namespace vx {

ObjectListIterator::ObjectListIterator(const ObjectList *p_list) : m_p_list(p_list), m_index(0) {}

void ObjectListIterator::first() { m_index = 0; }

void ObjectListIterator::next() {
  if (m_index < m_p_list->getCount())
    m_index++;
}

bool ObjectListIterator::isDone() const { return m_index >= m_p_list->getCount(); }

Object *ObjectListIterator::currentObject() const {
  if (isDone())
    return nullptr;
  return (*m_p_list)[m_index];
}

} // namespace vx
