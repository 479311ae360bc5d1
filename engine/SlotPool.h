/// \file
/// Storage for the places of the grid's cells, taken from a few large chunks
/// instead of from all over the heap.
///
/// A crowded world has thousands of cells, and every move reads the places of
/// the cell under the mover. Allocated with the objects, those places end up
/// spread over the whole heap, one memory page for nearly every cell, and the
/// processor misses its address translations as often as its caches. Here
/// they share chunks of 2 MiB that the system is asked to back with huge
/// pages, and a block of cache lines each, so reading a cell's places touches
/// as few lines and pages as it can.
#ifndef VX_SLOT_POOL_H
#define VX_SLOT_POOL_H

#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

namespace vx {

/// Blocks of 64 bytes to 64 KiB, in powers of two, carved from 2 MiB chunks
/// and kept for reuse once freed; larger blocks come from operator new. The
/// chunks stay with the pool until the program ends.
class SlotPool {
 private:
  /// Block sizes 64 << 0 to 64 << (CLASSES - 1).
  static const int CLASSES = 11;

  std::mutex m_mutex;                  ///< Guards everything below.
  void *m_free[CLASSES];               ///< Freed blocks of each size, linked through themselves.
  std::vector<void *> m_chunks;        ///< Every chunk taken.
  char *m_p_next;                      ///< Where the next new block starts.
  char *m_p_end;                       ///< The end of the current chunk.

  SlotPool();

  /// The size class of a block of `bytes`, or -1 beyond the largest.
  static int classOf(size_t bytes);

 public:
  /// The chunk size: a huge page of the usual size.
  static const size_t CHUNK = size_t{2} << 20;

  /// The one pool. It is never destroyed: cells freed while the program
  /// ends may still give their blocks back.
  static SlotPool &getInstance();

  SlotPool(const SlotPool &) = delete;
  SlotPool &operator=(const SlotPool &) = delete;

  /// A block of at least `bytes`, aligned to 64 bytes. Throws std::bad_alloc
  /// when no memory is left, as operator new does.
  void *allocate(size_t bytes);

  /// Takes back a block that allocate() gave for the same `bytes`.
  void deallocate(void *p, size_t bytes) noexcept;
};

/// A standard allocator that takes its memory from the SlotPool.
template <typename T> struct SlotAllocator {
  typedef T value_type;

  SlotAllocator() = default;
  template <typename U> SlotAllocator(const SlotAllocator<U> &) {}

  T *allocate(size_t n) {
    if (n > static_cast<size_t>(-1) / sizeof(T))
      throw std::bad_alloc();
    return static_cast<T *>(SlotPool::getInstance().allocate(n * sizeof(T)));
  }
  void deallocate(T *p, size_t n) noexcept { SlotPool::getInstance().deallocate(p, n * sizeof(T)); }

  template <typename U> bool operator==(const SlotAllocator<U> &) const { return true; }
  template <typename U> bool operator!=(const SlotAllocator<U> &) const { return false; }
};

} // namespace vx

#endif // VX_SLOT_POOL_H
