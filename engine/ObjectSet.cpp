#include "ObjectSet.h"

#include <new>

#include "Grid.h"

namespace vx {

namespace {

// Up to this many places a scan is cheaper than an index.
const size_t SMALL = 32;

// Fewest entries of an index.
const size_t MIN_INDEX = 64;

} // namespace

template <typename Extra, typename Alloc>
OrderedObjects<Extra, Alloc>::OrderedObjects() : m_count(0), m_head(0), m_cut(0), m_index_shift(64) {}

template <typename Extra, typename Alloc> size_t OrderedObjects<Extra, Alloc>::home(const Object *p_o) const {
  // Objects made one after another lie near one another in memory, and a
  // world makes, walks and deletes them in that order. Within each 64 KiB of
  // memory the entries keep the objects' order, one per 64 bytes, so such a
  // run of objects reads a run of the index instead of missing the cache for
  // every object; each 64 KiB block starts at its own place, spread by
  // Fibonacci hashing of the block's number, so that objects far apart do not
  // crowd the same entries.
  const uintptr_t address = reinterpret_cast<uintptr_t>(p_o);
  const uint64_t block_start = (static_cast<uint64_t>(address >> 16) * 0x9E3779B97F4A7C15ULL) >>
                               m_index_shift;
  return static_cast<size_t>((block_start + (address >> 6)) & (m_index.size() - 1));
}

template <typename Extra, typename Alloc> size_t OrderedObjects<Extra, Alloc>::entryOf(const Object *p_o) const {
  const size_t mask = m_index.size() - 1;
  size_t i = home(p_o);
  while (m_index[i].p_o != nullptr && m_index[i].p_o != p_o)
    i = (i + 1) & mask;
  return i;
}

template <typename Extra, typename Alloc> long OrderedObjects<Extra, Alloc>::placeOf(const Object *p_o) const {
  if (p_o == nullptr)
    return -1;
  if (m_index.empty()) {
    for (size_t i = m_head; i < m_slots.size(); i++)
      if (m_slots[i].p_o == p_o)
        return static_cast<long>(i);
    return -1;
  }
  const Entry &entry = m_index[entryOf(p_o)];
  return entry.p_o == nullptr ? -1 : static_cast<long>(entry.slot - m_cut);
}

template <typename Extra, typename Alloc>
void OrderedObjects<Extra, Alloc>::indexPut(const Object *p_o, size_t place) {
  m_index[entryOf(p_o)] = {p_o, m_cut + static_cast<int64_t>(place)};
}

template <typename Extra, typename Alloc> void OrderedObjects<Extra, Alloc>::indexErase(const Object *p_o) {
  const size_t mask = m_index.size() - 1;
  size_t hole = entryOf(p_o);
  if (m_index[hole].p_o == nullptr)
    return;
  // Linear probing without tombstones: every later entry of the probe run
  // whose home lies outside (hole, j] moves back into the hole.
  size_t j = hole;
  for (;;) {
    m_index[hole].p_o = nullptr;
    for (;;) {
      j = (j + 1) & mask;
      if (m_index[j].p_o == nullptr)
        return;
      const size_t start = home(m_index[j].p_o);
      const bool stays = hole <= j ? (hole < start && start <= j) : (hole < start || start <= j);
      if (!stays)
        break;
    }
    m_index[hole] = m_index[j];
    hole = j;
  }
}

template <typename Extra, typename Alloc> void OrderedObjects<Extra, Alloc>::reindex() {
  if (m_slots.size() <= SMALL) {
    m_index.clear();
    return;
  }
  size_t size = MIN_INDEX;
  int bits = 6;
  while (size < 4 * static_cast<size_t>(m_count)) {
    size *= 2;
    bits++;
  }
  m_index.assign(size, Entry{nullptr, 0});
  m_cut = 0;
  m_index_shift = 64 - bits;
  for (size_t i = m_head; i < m_slots.size(); i++)
    if (m_slots[i].p_o != nullptr)
      indexPut(m_slots[i].p_o, i);
}

template <typename Extra, typename Alloc> void OrderedObjects<Extra, Alloc>::compact() {
  size_t kept = 0;
  for (size_t i = m_head; i < m_slots.size(); i++)
    if (m_slots[i].p_o != nullptr)
      m_slots[kept++] = m_slots[i];
  m_slots.erase(m_slots.begin() + static_cast<std::ptrdiff_t>(kept), m_slots.end());
  m_head = 0;
  reindex();
}

template <typename Extra, typename Alloc> int OrderedObjects<Extra, Alloc>::insert(Object *p_o, const Extra &extra) {
  if (p_o == nullptr)
    return -1;
  if (contains(p_o))
    return 0;
  return append(p_o, extra);
}

template <typename Extra, typename Alloc>
int OrderedObjects<Extra, Alloc>::assign(Object *p_o, const Extra &extra, int64_t *p_hint) {
  const long place = p_hint != nullptr ? placeOf(p_o, *p_hint) : placeOf(p_o);
  if (place >= 0) {
    m_slots[static_cast<size_t>(place)].setValue(extra);
    if (p_hint != nullptr)
      *p_hint = m_cut + place;
    return 0;
  }
  const int result = p_o == nullptr ? -1 : append(p_o, extra);
  if (p_hint != nullptr)
    *p_hint = result == 0 ? m_cut + static_cast<int64_t>(m_slots.size()) - 1 : -1;
  return result;
}

template <typename Extra, typename Alloc> int OrderedObjects<Extra, Alloc>::append(Object *p_o, const Extra &extra) {
  if (m_slots.size() >= static_cast<size_t>(INT32_MAX))
    return -1;
  try {
    m_slots.emplace_back(p_o, extra);
  } catch (const std::bad_alloc &) {
    return -1;
  }
  m_count++;
  if (m_index.empty() ? m_slots.size() > SMALL
                      : 2 * static_cast<size_t>(m_count) > m_index.size())
    reindex();
  else if (!m_index.empty())
    indexPut(p_o, m_slots.size() - 1);
  return 0;
}

template <typename Extra, typename Alloc> int OrderedObjects<Extra, Alloc>::remove(const Object *p_o, int64_t hint) {
  const long place = placeOf(p_o, hint);
  if (place < 0)
    return -1;
  m_slots[static_cast<size_t>(place)].p_o = nullptr;
  if (!m_index.empty())
    indexErase(p_o);
  m_count--;
  if (m_count == 0) {
    clear();
    return 0;
  }
  if (static_cast<size_t>(place) == m_head)
    first();
  // A small set is walked often for few pointers (a grid cell under every
  // move), so it keeps few holes; a large one rebuilds its index when it
  // squeezes them out, so it waits until they outnumber its pointers. Holes
  // at the front are cut off once they outnumber the pointers, and an index
  // left sixteen times too big for the count is rebuilt smaller. Each of these
  // costs constant time per removal on average.
  const size_t holes = m_slots.size() - m_head - static_cast<size_t>(m_count);
  if (holes > static_cast<size_t>(m_index.empty() ? m_count / 4 : m_count))
    compact();
  else if (m_index.size() > MIN_INDEX && m_index.size() / 16 > static_cast<size_t>(m_count))
    compact();
  else if (m_head > static_cast<size_t>(m_count))
    cutFront();
  return 0;
}

template <typename Extra, typename Alloc> void OrderedObjects<Extra, Alloc>::cutFront() {
  const auto cut = static_cast<std::ptrdiff_t>(m_head);
  m_slots.erase(m_slots.begin(), m_slots.begin() + cut);
  m_cut += cut;
  m_head = 0;
}

template <typename Extra, typename Alloc> void OrderedObjects<Extra, Alloc>::clear() {
  m_slots.clear();
  m_count = 0;
  m_head = 0;
  m_cut = 0;
  m_index.clear();
}

template <typename Extra, typename Alloc> Object *OrderedObjects<Extra, Alloc>::first() const {
  while (m_head < m_slots.size() && m_slots[m_head].p_o == nullptr)
    m_head++;
  return m_head < m_slots.size() ? m_slots[m_head].p_o : nullptr;
}

template <typename Extra, typename Alloc> void OrderedObjects<Extra, Alloc>::appendTo(std::vector<Object *> &out) const {
  out.reserve(out.size() + static_cast<size_t>(m_count));
  forEach([&out](Object *p_o) { out.push_back(p_o); });
}

template <typename Extra, typename Alloc> ObjectList OrderedObjects<Extra, Alloc>::toList() const {
  ObjectList list;
  forEach([&list](Object *p_o) { list.insert(p_o); });
  return list;
}

template class OrderedObjects<NoExtra>;
template class OrderedObjects<BoxEdges, LineAllocator<OrderedSlot<BoxEdges>>>;

} // namespace vx
