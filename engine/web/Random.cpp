// The browser's rand() and srand(): the sequence the native build's C library
// gives for a seed (an additive feedback generator over 31 words, filled by a
// multiplicative congruential one and run 310 times before the first
// number). The browser's own C library has another generator, and the game's
// flies, minigames and particles all draw from rand(): with it a game recorded
// natively would not replay in the browser.
#include <cstdint>
#include <cstdlib>

namespace {

const int DEGREE = 31;    // Words in the table.
const int SEPARATION = 3; // How far the front runs ahead of the rear.

std::int32_t g_table[DEGREE];
int g_front = SEPARATION;
int g_rear = 0;
bool g_seeded = false;

std::int32_t nextNumber() {
  const std::uint32_t sum = static_cast<std::uint32_t>(g_table[g_front]) +
                            static_cast<std::uint32_t>(g_table[g_rear]);
  g_table[g_front] = static_cast<std::int32_t>(sum);
  g_front = (g_front + 1) % DEGREE;
  g_rear = (g_rear + 1) % DEGREE;
  return static_cast<std::int32_t>(sum >> 1);
}

void seedTable(unsigned int seed) {
  std::int32_t word = static_cast<std::int32_t>(seed == 0 ? 1 : seed);
  g_table[0] = word;
  for (int i = 1; i < DEGREE; i++) {
    // 16807 * word mod (2^31 - 1), without overflowing.
    const std::int64_t high = word / 127773, low = word % 127773;
    std::int64_t next = 16807 * low - 2836 * high;
    if (next < 0)
      next += 2147483647;
    word = static_cast<std::int32_t>(next);
    g_table[i] = word;
  }
  g_front = SEPARATION;
  g_rear = 0;
  for (int i = 0; i < DEGREE * 10; i++)
    nextNumber();
  g_seeded = true;
}

} // namespace

extern "C" void srand(unsigned int seed) { seedTable(seed); }

// Unseeded, as seeded with 1.
extern "C" int rand() {
  if (!g_seeded)
    seedTable(1);
  return nextNumber();
}
