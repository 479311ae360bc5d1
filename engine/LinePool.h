/// \file
/// Memory for the places of the grid's cells, taken from a few large chunks
/// instead of from all over the heap.
///
/// Every move reads the places of the cell under the mover, and a crowded
/// world has thousands of cells. Allocated along with the objects, those
/// places end up spread over the whole heap, a memory page for nearly every
/// cell, and the processor misses its address translations as often as its
/// caches. Here they share chunks of 2 MiB that the system is asked to back
/// with huge pages, in blocks of whole cache lines, so reading a cell touches
/// as few lines and pages as it can. (The objects themselves stay on the
/// ordinary heap: the system takes long to find huge pages for tens of
/// megabytes at once, which would slow down making a large world.)
#ifndef VX_LINE_POOL_H
#define VX_LINE_POOL_H

#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

namespace vx {

/// Blocks of whole cache lines carved from 2 MiB chunks and kept for reuse
/// once freed: every multiple of 64 bytes up to 1 KiB, then powers of two up
/// to 64 KiB; larger blocks come from operator new. The chunks stay with the
/// pool until the program ends.
class LinePool {
 private:
  /// Sizes 64 to 1024 in steps of 64, then 2 KiB to 64 KiB.
  static const int CLASSES = 22;

  std::mutex m_mutex;                  ///< Guards everything below.
  void *m_free[CLASSES];               ///< Freed blocks of each size, linked through themselves.
  std::vector<void *> m_chunks;        ///< Every chunk taken.
  char *m_p_next;                      ///< Where the next new block starts.
  char *m_p_end;                       ///< The end of the current chunk.

  LinePool();

  /// The size class of a block of `bytes`, or -1 beyond the largest.
  static int classOf(size_t bytes);

  /// The size of the blocks of a class.
  static size_t sizeOf(int size_class);

 public:
  /// The chunk size: a huge page of the usual size.
  static const size_t CHUNK = size_t{2} << 20;

  /// The one pool. It is never destroyed: cells freed while the program
  /// ends may still give their blocks back.
  static LinePool &getInstance();

  LinePool(const LinePool &) = delete;
  LinePool &operator=(const LinePool &) = delete;

  /// A block of at least `bytes`, aligned to 64 bytes. Throws std::bad_alloc
  /// when no memory is left, as operator new does.
  void *allocate(size_t bytes);

  /// Takes back a block that allocate() gave for the same `bytes`.
  void deallocate(void *p, size_t bytes) noexcept;
};

/// A standard allocator that takes its memory from the LinePool.
template <typename T> struct LineAllocator {
  /// What it allocates.
  typedef T value_type;

  ///@{
  /// Every LineAllocator draws on the one pool, so all are alike.
  LineAllocator() = default;
  template <typename U> LineAllocator(const LineAllocator<U> &) {}
  template <typename U> bool operator==(const LineAllocator<U> &) const { return true; }
  template <typename U> bool operator!=(const LineAllocator<U> &) const { return false; }
  ///@}

  /// Room for n values; std::bad_alloc when there is none.
  T *allocate(size_t n) {
    if (n > static_cast<size_t>(-1) / sizeof(T))
      throw std::bad_alloc();
    return static_cast<T *>(LinePool::getInstance().allocate(n * sizeof(T)));
  }
  /// Gives back what allocate(n) gave.
  void deallocate(T *p, size_t n) noexcept { LinePool::getInstance().deallocate(p, n * sizeof(T)); }
};

} // namespace vx

#endif // VX_LINE_POOL_H
