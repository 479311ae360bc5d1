/// \file
/// An ordered set of non-owning Object pointers: walks see the pointers in
/// the order they were inserted, and inserting, finding and removing one cost
/// constant time on average, however many the set holds.
///
/// Removal leaves a hole in the ordered storage that walks skip; the holes are
/// squeezed out once they outnumber the pointers held (a quarter of them in a
/// small set). Holes before the earliest pointer are cut off the front once
/// they outnumber the pointers, without touching the index, so a set emptied
/// in the order it was filled (a world deleting its objects) never rebuilds
/// its index. The storage stays within three times the count. Beyond a few
/// dozen places an open-addressing index from pointer to place finds a
/// pointer without a scan.
///
/// Each pointer can carry a value of its own, kept beside it (the grid keeps
/// every object's box there, so that a query reads one run of memory instead
/// of visiting every object near the mover, and finds the pointer of a box it
/// hits in the line it has just read); ObjectSet carries none.
#ifndef VX_OBJECT_SET_H
#define VX_OBJECT_SET_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

#include "Box.h"
#include "ObjectList.h"

namespace vx {

class Object;

/// How much of a set's storage prefetch() asks for at most, in bytes.
const ptrdiff_t PREFETCH_BYTES = 512;

/// The value of a set whose pointers carry none.
struct NoExtra {};

/// A place of an ordered set: a pointer, null where one was removed, and the
/// value it carries.
template <typename Extra, bool = std::is_empty<Extra>::value> struct OrderedSlot {
  Object *p_o;  ///< The pointer, or null.
  Extra extra;  ///< Its value.

  /// A place holding p with its value.
  OrderedSlot(Object *p, const Extra &value) : p_o(p), extra(value) {}

  /// The value.
  const Extra &value() const { return extra; }
  /// Sets the value.
  void setValue(const Extra &new_extra) { extra = new_extra; }
};

/// A place of a set whose pointers carry no value: the pointer alone.
template <typename Extra> struct OrderedSlot<Extra, true> {
  Object *p_o; ///< The pointer, or null.

  /// A place holding p.
  OrderedSlot(Object *p, const Extra &) : p_o(p) {}

  /// No value: an empty one.
  Extra value() const { return Extra(); }
  /// Nothing to set.
  void setValue(const Extra &) {}
};

/// An insertion-ordered set of object pointers, each with a value of type Extra, its places
/// kept in storage from Alloc; it owns none of the objects.
template <typename Extra, typename Alloc = std::allocator<OrderedSlot<Extra>>>
class OrderedObjects {
 private:
  /// One entry of the index: a pointer and its place counted from the first
  /// place ever held (m_slots[slot - m_cut]). An entry with a null pointer is free.
  struct Entry {
    const Object *p_o;
    int64_t slot;
  };

  typedef OrderedSlot<Extra> Slot;

  /// The pointers in insertion order with their values, a null pointer where
  /// one was removed.
  std::vector<Slot, Alloc> m_slots;
  int m_count;                   ///< Pointers held.
  mutable size_t m_head;         ///< No pointer is held before this place.
  int64_t m_cut;                 ///< Places cut off the front of m_slots so far.
  std::vector<Entry> m_index;    ///< Open addressing; empty while the set is small.
  int m_index_shift;             ///< 64 minus log2 of the index's size.

  /// The entry of m_index where the search for p_o starts.
  size_t home(const Object *p_o) const;

  /// Where p_o sits in m_index, or where it would go.
  size_t entryOf(const Object *p_o) const;

  /// Place of p_o in m_slots, or -1.
  long placeOf(const Object *p_o) const;

  /// The same, first trying the place a hint (counted as m_index counts) names.
  long placeOf(const Object *p_o, int64_t hint) const {
    const int64_t place = hint - m_cut;
    if (hint >= 0 && place >= static_cast<int64_t>(m_head) &&
        place < static_cast<int64_t>(m_slots.size()) &&
        m_slots[static_cast<size_t>(place)].p_o == p_o && p_o != nullptr)
      return static_cast<long>(place);
    return placeOf(p_o);
  }

  /// Records in the index that p_o sits at m_slots[place].
  void indexPut(const Object *p_o, size_t place);

  /// Drops p_o from the index, closing the gap in its probe run.
  void indexErase(const Object *p_o);

  /// Rebuilds the index for the current slots (or drops it for a small set).
  void reindex();

  /// Squeezes the holes out of m_slots, keeping the order.
  void compact();

  /// Cuts the places before m_head off m_slots; the index stays as it is.
  void cutFront();

  /// Adds a pointer known to be absent at the end. 0, or -1 without room.
  int append(Object *p_o, const Extra &extra);

 public:
  /// An empty set.
  OrderedObjects();

  /// Adds a pointer at the end. -1 for a null pointer; a pointer held already
  /// stays where it is with its value (0).
  int insert(Object *p_o, const Extra &extra = Extra());

  /// Sets the value of a pointer held, or adds the pointer at the end with
  /// that value: one search where find() and insert() would make two. -1 for
  /// a null pointer or when there is no room.
  ///
  /// A caller that keeps where the pointer was last seen passes it in
  /// p_hint, and the search is skipped while the pointer is still there; the
  /// pointer's place is written back (-1 when it was not taken). Places are
  /// counted from the first ever held, so a hint survives the front being cut.
  int assign(Object *p_o, const Extra &extra, int64_t *p_hint = nullptr);


  /// Removes a pointer, keeping the order of the rest. -1 if absent. A hint
  /// as assign() keeps it spares the search while it is right.
  int remove(const Object *p_o, int64_t hint = -1);

  /// Whether the pointer is in the set.
  bool contains(const Object *p_o) const { return placeOf(p_o) >= 0; }

  /// Empties the set; the storage stays.
  void clear();

  /// The number of pointers held.
  int getCount() const { return m_count; }
  /// Whether it holds no pointer.
  bool isEmpty() const { return m_count == 0; }

  /// The earliest pointer held, or null.
  Object *first() const;

  /// Calls action with every pointer held, in order. The set must not change meanwhile.
  template <typename Action> void forEach(Action action) const {
    for (size_t i = m_head; i < m_slots.size(); i++)
      if (m_slots[i].p_o != nullptr)
        action(m_slots[i].p_o);
  }

  /// Calls action with every pointer held whose value passes test, in order,
  /// and with that value. The set must not change meanwhile.
  template <typename Test, typename Action> void forEachWhere(Test test, Action action) const {
    // The ends are held apart from the vector: an action that writes memory
    // would otherwise make the compiler load them again for every place.
    const Slot *p_end = m_slots.data() + m_slots.size();
    for (const Slot *p_slot = m_slots.data() + m_head; p_slot != p_end; ++p_slot)
      if (test(p_slot->value()) && p_slot->p_o != nullptr)
        action(p_slot->p_o, p_slot->value());
  }

  /// Asks the processor to start loading the first places.
  void prefetch() const {
    const char *p_begin = reinterpret_cast<const char *>(m_slots.data() + m_head);
    const char *p_end = reinterpret_cast<const char *>(m_slots.data() + m_slots.size());
    for (const char *p = p_begin; p < p_end && p < p_begin + PREFETCH_BYTES; p += 64)
      __builtin_prefetch(p);
  }

  /// Appends the pointers held, in order.
  void appendTo(std::vector<Object *> &out) const;

  /// The pointers held, in order, as a list.
  ObjectList toList() const;
};

extern template class OrderedObjects<NoExtra>;

/// The ordered set of plain object pointers.
typedef OrderedObjects<NoExtra> ObjectSet;

} // namespace vx

#endif // VX_OBJECT_SET_H
