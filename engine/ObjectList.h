/// \file
/// An ordered, growable array of non-owning Object pointers.
#ifndef VX_OBJECT_LIST_H
#define VX_OBJECT_LIST_H

namespace vx {

class Object;

/// An ordered list of object pointers, which it does not own. A value type: copies are
/// independent lists of the same objects.
class ObjectList {
 private:
  int m_count;       // Number of pointers held.
  int m_max_count;   // Capacity of the array.
  Object **m_p_obj;  // Storage, from malloc/realloc.

  // Doubles the capacity. Returns 0, or -1 with the list unchanged.
  int grow();

  // Logs and throws std::out_of_range for an index outside [0, count).
  [[noreturn]] void outOfRange(int index) const;

 public:
  /// An empty list.
  ObjectList();
  ///@{
  /// Copies the pointers.
  ObjectList(const ObjectList &other);
  ObjectList &operator=(const ObjectList &other);
  ///@}
  /// Frees the list, not the objects.
  ~ObjectList();

  /// Appends a pointer. Returns -1 for a null pointer or when the list cannot grow.
  int insert(Object *p_o);

  /// Removes the first occurrence, keeping the order of the rest. Returns -1 if absent.
  int remove(Object *p_o);

  /// Empties the list; the storage stays.
  void clear();

  /// Defined here: every walk over objects calls them once per object.
  int getCount() const { return m_count; }
  /// Whether it holds no pointer.
  bool isEmpty() const { return m_count == 0; }

  /// The pointer at index; logs and throws std::out_of_range outside [0, count).
  Object *operator[](int index) const {
    if (index < 0 || index >= m_count)
      outOfRange(index);
    return m_p_obj[index];
  }

  /// This list's pointers followed by the other's non-null ones.
  ObjectList operator+(ObjectList other) const;

  /// Capacity of the storage (for tests and diagnostics).
  int getMaxCount() const;
};

} // namespace vx

#endif // VX_OBJECT_LIST_H
