// The pool that the grid's cells keep their places in.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "LinePool.h"

// Blocks of every size class and beyond, each filled with its own byte: none
// may overlap another while both are held, freed blocks come back for later
// requests, and every block starts on a cache line.
TEST(LinePool, BlocksStayApartAndAreReused) {
  vx::LinePool &pool = vx::LinePool::getInstance();
  const std::vector<size_t> sizes = {1, 24, 64, 65, 300, 4096, 65536, 65537, 3u << 20};
  struct Block {
    unsigned char *p;
    size_t size;
    unsigned char mark;
  };
  std::vector<Block> held;
  auto take = [&](size_t size) {
    const auto mark = static_cast<unsigned char>(held.size() + 1);
    auto *p = static_cast<unsigned char *>(pool.allocate(size));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 64, 0u) << size;
    std::memset(p, mark, size);
    held.push_back({p, size, mark});
  };
  for (int round = 0; round < 3; round++)
    for (size_t size : sizes)
      take(size);

  // Every other block goes back; asking again for the same sizes is served
  // from them before the pool grows.
  std::vector<unsigned char *> freed;
  for (size_t i = 0; i < held.size(); i += 2) {
    pool.deallocate(held[i].p, held[i].size);
    freed.push_back(held[i].p);
    held[i].size = 0;
  }
  for (size_t i = 0, n = held.size(); i < n; i += 2)
    take(sizes[(i % sizes.size())]);
  int reused = 0;
  for (size_t i = held.size() - freed.size(); i < held.size(); i++)
    for (unsigned char *p : freed)
      reused += held[i].p == p ? 1 : 0;
  EXPECT_GE(reused, static_cast<int>(freed.size()) / 2);

  for (const Block &block : held)
    for (size_t i = 0; i < block.size; i++)
      ASSERT_EQ(block.p[i], block.mark) << "block of " << block.size << " at " << i;
  for (const Block &block : held)
    if (block.size > 0)
      pool.deallocate(block.p, block.size);
}
