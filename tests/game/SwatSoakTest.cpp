// A long headless session: the bot plays run after run, winning most
// minigames and idling through every seventh so that runs end, game-over
// screens come and go and the start screen returns. Memory must not grow.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>

#include "SwatBot.h"

#if defined(__SANITIZE_ADDRESS__)
// Part of the sanitizer's allocator interface (no header for it ships with GCC).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace {

const int STEPS = 50000;
const int WARM_UP_STEPS = 5000;

// No effect is on screen: resident memory then holds only what lasts.
bool quiet() { return objectsOfTypes({"Particle", "Firework"}).empty(); }

#if defined(__SANITIZE_ADDRESS__)
// Under the sanitizer, resident memory keeps growing with the sanitizer's own
// bookkeeping (shadow memory and allocator metadata) while the heap in use
// stays flat, so the memory measured is the sanitizer's count of the bytes
// the program has allocated and not freed.
const char *const MEMORY_MEASURE = "heap in use";
long memoryInUse() { return static_cast<long>(__sanitizer_get_current_allocated_bytes()); }
#else
// Resident memory once the allocator has handed back the free memory it keeps
// for reuse, so the reading follows the memory in use rather than the
// allocator's high-water mark.
const char *const MEMORY_MEASURE = "resident";
long memoryInUse() {
  malloc_trim(0);
  return vxtest::residentBytes();
}
#endif

TEST(SwatSoakTest, MemoryInUseStaysFlatOverFiftyThousandSteps) {
  vxtest::SwatSession session(1234);
  ASSERT_TRUE(session.started());
  long after_warm_up = -1, at_end = -1;
  int warm_up_step = 0, end_step = 0, game_overs = 0;
  bool over_before = false;
  vxtest::SwatBot::Plan plan;
  plan.plays = STEPS;
  plan.idle_every = 7;
  plan.turn_every = 5;
  plan.max_steps = STEPS + 5000;
  // Particles come and go by the thousand, so memory is read at the first
  // step without any from step 5,000 and from step 50,000 on.
  plan.observe = [&](vxtest::SwatBot &bot) {
    const bool over_now = objectOfTypeExists(GAME_OVER_TYPE);
    game_overs += over_now && !over_before;
    over_before = over_now;
    if (bot.steps() >= WARM_UP_STEPS && after_warm_up < 0 && quiet()) {
      after_warm_up = memoryInUse();
      warm_up_step = bot.steps();
    }
    if (bot.steps() >= STEPS && quiet()) {
      at_end = memoryInUse();
      end_step = bot.steps();
      return true;
    }
    return false;
  };
  vxtest::SwatBot *p_bot = new vxtest::SwatBot(plan);
  vx::GameManager::getInstance().run();
  const size_t runs = objectsOfTypes({TRANSITION_SCREEN_TYPE}).size();

  std::printf("soak: %d steps, %d minigames, %zu runs, %d game-over screens; %s "
              "%.2f MB at step %d, %.2f MB at step %d (%+.0f kB)\n",
              p_bot->steps(), p_bot->minigames(), runs, game_overs, MEMORY_MEASURE,
              after_warm_up / 1048576.0,
              warm_up_step, at_end / 1048576.0, end_step, (at_end - after_warm_up) / 1024.0);
  EXPECT_GT(game_overs, 10);
  EXPECT_GT(p_bot->minigames(), 100);
  ASSERT_GT(after_warm_up, 0);
  ASSERT_GT(at_end, 0);
  EXPECT_LT(at_end - after_warm_up, 1024 * 1024);
}

} // namespace
