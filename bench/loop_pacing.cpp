// Runs the real game loop for 300 steps at the configured frame time (33 ms by
// default) with nothing to do but sleep, and prints how evenly it paces itself
// and how much processor time it spends doing so.
//
// Run from a directory without a window, e.g. with VEXLO_CONFIG pointing at a
// file that says "headless:true,networking:false".
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <vector>

#include "vexlo.h"

namespace {

const int STEPS = 300;

// Stamps the monotonic clock at every step and ends the game after STEPS.
class StepRecorder : public vx::Object {
 public:
  std::vector<int64_t> stamps;

  StepRecorder() {
    stamps.reserve(STEPS + 1);
    vx::GameManager::getInstance().registerInterest(this, vx::STEP_EVENT);
  }
  ~StepRecorder() override {
    vx::GameManager::getInstance().unregisterInterest(this, vx::STEP_EVENT);
  }

  int eventHandler(const vx::Event *) override {
    stamps.push_back(vx::Clock::now());
    if (static_cast<int>(stamps.size()) > STEPS)
      vx::GameManager::getInstance().setGameOver();
    return 1;
  }
};

int64_t cpuMicroseconds() {
  struct timespec ts;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

} // namespace

int main() {
  vx::GameManager &game_manager = vx::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    std::fprintf(stderr, "loop_pacing: the engine did not start\n");
    return 1;
  }
  int frame_time = game_manager.getFrameTime();
  StepRecorder &recorder = *new StepRecorder; // The world deletes it at shut-down.

  int64_t cpu_before = cpuMicroseconds();
  int64_t wall_before = vx::Clock::now();
  game_manager.run();
  int64_t wall = vx::Clock::now() - wall_before;
  int64_t cpu = cpuMicroseconds() - cpu_before;

  // Periods between consecutive step events: STEPS of them.
  std::vector<double> periods;
  for (size_t i = 1; i < recorder.stamps.size(); i++)
    periods.push_back(static_cast<double>(recorder.stamps[i] - recorder.stamps[i - 1]) / 1000.0);
  game_manager.shutDown();
  double sum = 0, worst = 0;
  for (double p : periods) {
    sum += p;
    worst = p > worst ? p : worst;
  }
  double mean = sum / static_cast<double>(periods.size());
  double variance = 0;
  for (double p : periods)
    variance += (p - mean) * (p - mean);
  double deviation = std::sqrt(variance / static_cast<double>(periods.size()));
  double cpu_share = 100.0 * static_cast<double>(cpu) / static_cast<double>(wall);

  std::printf("frame time       %d ms\n", frame_time);
  std::printf("steps            %zu\n", periods.size());
  std::printf("mean period      %.3f ms (%+.2f%% of the frame time)\n", mean,
              100.0 * (mean - frame_time) / frame_time);
  std::printf("std deviation    %.3f ms\n", deviation);
  std::printf("worst step       %.3f ms\n", worst);
  std::printf("CPU time         %.2f ms per second of wall time (%.2f%% of one core)\n",
              10.0 * cpu_share, cpu_share);
  return 0;
}
