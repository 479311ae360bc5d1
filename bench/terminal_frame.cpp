// Times the terminal display's encoding of a frame into what is written to the
// terminal, and counts the bytes: a whole 80 x 24 frame in which every cell
// changed (targets: under 0.2 ms and 20 KB), and a typical minigame frame in
// which a few flies, the swatter and a particle burst moved (target: under
// 1 KB), in each colour mode. The counter "bytes" is per frame.
#include <benchmark/benchmark.h>

#include <string>

#include "TerminalScreen.h"

namespace {

const int COLS = 80, ROWS = 24;
const std::uint32_t COLORS[] = {0xFFFFFF, 0xFF0000, 0x00FF00, 0xFFFF00, 0x00FFFF};

// Every cell a character, in rows of text of a few colours; `shift` changes
// every character.
void drawWholeScreen(vx::TerminalScreen &screen, int shift) {
  for (int y = 0; y < ROWS; y++)
    for (int x = 0; x < COLS; x++)
      screen.put(x, y, static_cast<char>('!' + (x + y + shift) % 90), COLORS[(x / 8 + y) % 5]);
}

// The heads-up boxes, eight flies, the swatter and a burst of particles, the
// moving ones a cell further on every frame.
void drawMinigame(vx::TerminalScreen &screen, int frame) {
  const char *const boxes[3] = {" ----------", "| Streak 3 |", " ----------"};
  for (int y = 0; y < 3; y++) {
    for (int x = 0; boxes[y][x] != '\0'; x++) {
      screen.put(7 + x, y, boxes[y][x], 0xFFFFFF);
      screen.put(62 + x, y, boxes[y][x], 0xFFFFFF);
    }
  }
  const char *const fly[2] = {"\\@/", "-@-"};
  for (int f = 0; f < 8; f++) {
    const int x = (5 + f * 9 + frame) % 76, y = 4 + (f * 5 + frame / 3) % 19;
    for (int i = 0; i < 3; i++)
      screen.put(x + i, y, fly[frame % 2][i], 0xFFFFFF);
  }
  const int sx = 30 + frame % 20, sy = 12;
  screen.put(sx, sy, '[', 0xFFFFFF);
  screen.put(sx + 2, sy, ']', 0xFFFFFF);
  for (int p = 0; p < 12; p++)
    screen.blend(40 + (p * 7 + frame) % 9 - 4, 8 + (p * 5 + frame) % 5 - 2, 0xFF0000, 200);
}

template <void (*Draw)(vx::TerminalScreen &, int)>
void encodeFrames(benchmark::State &state) {
  vx::TerminalScreen screen(COLS, ROWS, static_cast<vx::TerminalColorMode>(state.range(0)));
  std::string bytes;
  Draw(screen, 0);
  screen.encode(bytes); // The first frame paints everything.
  int frame = 1;
  std::size_t total = 0;
  for (auto _ : state) {
    Draw(screen, frame++);
    bytes.clear();
    screen.encode(bytes);
    total += bytes.size();
    benchmark::DoNotOptimize(bytes.data());
  }
  state.counters["bytes"] =
      benchmark::Counter(static_cast<double>(total), benchmark::Counter::kAvgIterations);
}

void BM_WholeFrameChanged(benchmark::State &state) { encodeFrames<drawWholeScreen>(state); }
void BM_MinigameFrame(benchmark::State &state) { encodeFrames<drawMinigame>(state); }

// 0 24-bit colours, 1 the 256-colour palette, 2 the 8 ANSI colours.
BENCHMARK(BM_WholeFrameChanged)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MinigameFrame)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
