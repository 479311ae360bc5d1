#include "LinePool.h"

#include <cstdlib>
#include <sys/mman.h>

// Set when the address sanitizer watches the heap (GCC and Clang say so
// differently).
#if defined(__SANITIZE_ADDRESS__)
#define VX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VX_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef VX_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#else
#define ASAN_POISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#endif

namespace vx {

namespace {

// Every block starts on a cache line.
const size_t LINE = 64;

// Where the system has huge pages, a chunk lies on one of its own, else
// only on a line.
#ifdef MADV_HUGEPAGE
const size_t CHUNK_ALIGNMENT = LinePool::CHUNK;
#else
const size_t CHUNK_ALIGNMENT = LINE;
#endif

// Classes 0 to 15 are 1 to 16 lines; each class after doubles the size.
const int LINE_CLASSES = 16;

} // namespace

LinePool::LinePool() : m_free(), m_p_next(nullptr), m_p_end(nullptr) {}

LinePool &LinePool::getInstance() {
  static LinePool *p_pool = new LinePool;
  return *p_pool;
}

int LinePool::classOf(size_t bytes) {
  if (bytes <= LINE * LINE_CLASSES)
    return bytes == 0 ? 0 : static_cast<int>((bytes - 1) / LINE);
  size_t size = LINE * LINE_CLASSES;
  for (int c = LINE_CLASSES; c < CLASSES; c++)
    if (bytes <= (size <<= 1))
      return c;
  return -1;
}

size_t LinePool::sizeOf(int size_class) {
  return size_class < LINE_CLASSES ? LINE * static_cast<size_t>(size_class + 1)
                                   : (LINE * LINE_CLASSES) << (size_class - LINE_CLASSES + 1);
}

void *LinePool::allocate(size_t bytes) {
  const int c = classOf(bytes);
  if (c < 0)
    return ::operator new(bytes, std::align_val_t(LINE));
  const size_t size = sizeOf(c);
  std::lock_guard<std::mutex> lock(m_mutex);
  if (void *p = m_free[c]) {
    ASAN_UNPOISON_MEMORY_REGION(p, size);
    m_free[c] = *static_cast<void **>(p);
    return p;
  }
  if (static_cast<size_t>(m_p_end - m_p_next) < size) {
    // What is left of the chunk goes to the free lists, largest blocks first.
    for (int k = CLASSES - 1; k >= 0; k--)
      while (static_cast<size_t>(m_p_end - m_p_next) >= sizeOf(k)) {
        ASAN_UNPOISON_MEMORY_REGION(m_p_next, sizeof(void *));
        *reinterpret_cast<void **>(m_p_next) = m_free[k];
        ASAN_POISON_MEMORY_REGION(m_p_next, sizeof(void *));
        m_free[k] = m_p_next;
        m_p_next += sizeOf(k);
      }
    void *p_chunk = std::aligned_alloc(CHUNK_ALIGNMENT, CHUNK);
    if (p_chunk == nullptr)
      throw std::bad_alloc();
    try {
      m_chunks.push_back(p_chunk);
    } catch (...) {
      std::free(p_chunk);
      throw;
    }
#ifdef MADV_HUGEPAGE
    madvise(p_chunk, CHUNK, MADV_HUGEPAGE); // Only a request: small pages serve as well.
#endif
    ASAN_POISON_MEMORY_REGION(p_chunk, CHUNK);
    m_p_next = static_cast<char *>(p_chunk);
    m_p_end = m_p_next + CHUNK;
  }
  void *p = m_p_next;
  m_p_next += size;
  ASAN_UNPOISON_MEMORY_REGION(p, size);
  return p;
}

void LinePool::deallocate(void *p, size_t bytes) noexcept {
  if (p == nullptr)
    return;
  const int c = classOf(bytes);
  if (c < 0) {
    ::operator delete(p, std::align_val_t(LINE));
    return;
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  *static_cast<void **>(p) = m_free[c];
  m_free[c] = p;
  ASAN_POISON_MEMORY_REGION(p, sizeOf(c));
}

} // namespace vx
