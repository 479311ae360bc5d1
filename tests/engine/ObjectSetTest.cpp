// The ordered set of object pointers that the managers, the scene graph and
// the grid keep their objects in.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <vector>

#include "Object.h"
#include "ObjectSet.h"

namespace {

std::vector<vx::Object *> contents(const vx::ObjectSet &set) {
  std::vector<vx::Object *> result;
  set.forEach([&result](vx::Object *p_o) { result.push_back(p_o); });
  return result;
}

} // namespace

// Random insertions and removals, against a plain list that keeps insertion
// order and holds each pointer once, for sets that stay small and for sets
// that outgrow the scan and squeeze their holes out many times.
TEST(ObjectSet, KeepsInsertionOrderThroughInsertionsAndRemovals) {
  std::deque<vx::Object> pool(300);
  for (size_t pool_size : {size_t{8}, size_t{40}, size_t{300}}) {
    SCOPED_TRACE(pool_size);
    vx::ObjectSet set;
    std::vector<vx::Object *> expected;
    unsigned seed = 7;
    auto random = [&seed](size_t n) {
      seed = seed * 1103515245u + 12345u;
      return static_cast<size_t>(seed >> 8) % n;
    };
    // Where each pointer was last placed, as the grid keeps it: stale after
    // removals, squeezes and cuts, so the searches behind the hints are used.
    std::vector<int64_t> hints(pool_size, -1);
    for (int op = 0; op < 6000; op++) {
      const size_t i = random(pool_size);
      vx::Object *p_o = &pool[i];
      const bool held = std::find(expected.begin(), expected.end(), p_o) != expected.end();
      switch (random(4)) {
      case 0: // Removing the earliest, as the world's deletions are taken.
        if (!expected.empty()) {
          ASSERT_EQ(set.first(), expected.front());
          ASSERT_EQ(set.remove(expected.front()), 0);
          expected.erase(expected.begin());
        }
        break;
      case 1:
        ASSERT_EQ(set.remove(p_o, hints[i]), held ? 0 : -1);
        expected.erase(std::remove(expected.begin(), expected.end(), p_o), expected.end());
        break;
      default: // Inserting a held pointer leaves it where it is.
        ASSERT_EQ(op % 2 ? set.insert(p_o) : set.assign(p_o, vx::NoExtra(), &hints[i]), 0);
        if (!held)
          expected.push_back(p_o);
      }
      ASSERT_EQ(set.getCount(), static_cast<int>(expected.size()));
      ASSERT_EQ(set.contains(p_o), std::find(expected.begin(), expected.end(), p_o) !=
                                       expected.end());
      if (op % 50 == 0) {
        ASSERT_EQ(contents(set), expected);
      }
    }
    EXPECT_EQ(contents(set), expected);

    // Filled, then emptied from the front down to a few, as a world deletes
    // what it made: the front is cut off and the index made smaller.
    set.clear();
    expected.assign(pool_size, nullptr);
    for (size_t i = 0; i < pool_size; i++)
      ASSERT_EQ(set.insert(expected[i] = &pool[i]), 0);
    while (expected.size() > 3) {
      ASSERT_EQ(set.remove(expected.front()), 0);
      ASSERT_FALSE(set.contains(expected.front()));
      expected.erase(expected.begin());
      ASSERT_TRUE(set.contains(expected.back()));
      ASSERT_EQ(set.first(), expected.front());
    }
    EXPECT_EQ(contents(set), expected);
    EXPECT_EQ(set.insert(nullptr), -1);
    set.clear();
    EXPECT_TRUE(set.isEmpty());
    EXPECT_EQ(set.first(), nullptr);
  }
}
