#include "ObjectList.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

#include "LogManager.h"

namespace vx {

namespace {

// Allocates storage for count pointers; throws std::bad_alloc like new would,
// since a list without storage cannot keep its invariants.
Object **allocate(int count) {
  void *p = std::malloc(sizeof(Object *) * static_cast<size_t>(count));
  if (p == nullptr)
    throw std::bad_alloc();
  return static_cast<Object **>(p);
}

} // namespace

ObjectList::ObjectList() : m_count(0), m_max_count(1), m_p_obj(allocate(1)) {}

ObjectList::ObjectList(const ObjectList &other)
    : m_count(other.m_count), m_max_count(other.m_max_count),
      m_p_obj(allocate(other.m_max_count)) {
  std::memcpy(m_p_obj, other.m_p_obj, sizeof(Object *) * static_cast<size_t>(m_count));
}

ObjectList &ObjectList::operator=(const ObjectList &other) {
  if (this == &other)
    return *this;
  Object **p_new = allocate(other.m_max_count);
  std::memcpy(p_new, other.m_p_obj, sizeof(Object *) * static_cast<size_t>(other.m_count));
  std::free(m_p_obj);
  m_p_obj = p_new;
  m_count = other.m_count;
  m_max_count = other.m_max_count;
  return *this;
}

ObjectList::~ObjectList() { std::free(m_p_obj); }

int ObjectList::grow() {
  if (m_max_count > (1 << 29))
    return -1;
  void *p = std::realloc(m_p_obj, sizeof(Object *) * static_cast<size_t>(m_max_count) * 2);
  if (p == nullptr)
    return -1;
  m_p_obj = static_cast<Object **>(p);
  m_max_count *= 2;
  return 0;
}

int ObjectList::insert(Object *p_o) {
  if (p_o == nullptr)
    return -1;
  if (m_count == m_max_count && grow() != 0)
    return -1;
  m_p_obj[m_count++] = p_o;
  return 0;
}

int ObjectList::remove(Object *p_o) {
  for (int i = 0; i < m_count; i++) {
    if (m_p_obj[i] == p_o) {
      std::memmove(m_p_obj + i, m_p_obj + i + 1,
                   sizeof(Object *) * static_cast<size_t>(m_count - i - 1));
      m_count--;
      return 0;
    }
  }
  return -1;
}

void ObjectList::clear() { m_count = 0; }

int ObjectList::getMaxCount() const { return m_max_count; }

void ObjectList::outOfRange(int index) const {
  LogManager::getInstance().writeLog(
      "ObjectList::operator[](): Error! Index %d out of range [0, %d]", index, m_count - 1);
  throw std::out_of_range("ObjectList::operator[](): Invalid index!");
}

ObjectList ObjectList::operator+(ObjectList other) const {
  ObjectList sum(*this);
  for (int i = 0; i < other.m_count; i++)
    sum.insert(other.m_p_obj[i]); // Null pointers are refused by insert.
  return sum;
}

} // namespace vx
