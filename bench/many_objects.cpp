// Times the life of many objects in a 2000 x 600 world: creating them, one
// step (step event and world update) with all of them moving and listening to
// steps, and deleting them all; then 100,000 particles made by one
// addParticles call, from their creation until the last has expired.
//
// Prints one line per object count with the processor time of each phase and
// its cost per object, then the particle figures. The same counts then run
// again at the density of the largest count, in worlds 2000 wide and as high
// as that density asks: in the fixed world a step's collision queries meet
// more objects per grid cell as the count grows, at a constant density they
// do not. The cost per object should not grow with the count at a constant
// density; the longest particle pause should stay well within a frame.
//
// The grid's cells are the configuration's, 20 x 8 unless --cells says
// otherwise: cells sized to the crowd show what the crowding costs.
//
//   many_objects [--cells=WxH] [COUNT...]   (default 10000 20000 40000 80000 100000)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Drifters.h"
#include "vexlo.h"

namespace {

using bench::cpuMs;
using bench::Drifter;
using bench::randomFloat;

const float WIDTH = 2000;
const float HEIGHT = 600;

// Steps timed per count; the median is printed.
const int STEPS = 5;

// One step as the game loop runs it, without drawing: the step event, then
// the world update.
void step(int number) {
  const vx::EventStep event(number);
  vx::GameManager::getInstance().onEvent(&event);
  vx::WorldManager::getInstance().update();
}

int live() { return vx::WorldManager::getInstance().getAllObjects(true).getCount(); }

// Creates, steps and deletes `count` movers; false when something is left over.
bool objects(int count, float height) {
  vx::WorldManager &world = vx::WorldManager::getInstance();
  const vx::Box boundary(vx::Vector(0, 0), WIDTH, height);
  world.setBoundary(boundary);
  world.setView(boundary);
  vx::seedRandom(42);

  double start = cpuMs();
  for (int i = 0; i < count; i++)
    new Drifter(vx::Vector(randomFloat(WIDTH), randomFloat(height)),
                vx::Vector(randomFloat(2) - 1, randomFloat(2) - 1), true);
  const double create_ms = cpuMs() - start;

  step(0); // Settle in: first moves, first turns at the edges.
  std::vector<double> steps;
  Drifter::steps = 0;
  for (int i = 1; i <= STEPS; i++) {
    start = cpuMs();
    step(i);
    steps.push_back(cpuMs() - start);
  }
  std::sort(steps.begin(), steps.end());
  const double step_ms = steps[steps.size() / 2];
  const bool all_stepped = Drifter::steps == static_cast<long>(count) * STEPS;

  // Stopped first, so that the update that deletes them moves nothing.
  const vx::ObjectList all = world.getAllObjects(true);
  for (int i = 0; i < all.getCount(); i++)
    all[i]->setVelocity(vx::Vector(0, 0));
  start = cpuMs();
  for (int i = 0; i < all.getCount(); i++)
    world.markForDelete(all[i]);
  world.update();
  const double delete_ms = cpuMs() - start;

  const double per = 1e6 / count; // ms per object -> ns per object
  std::printf("%7d objects in %4.0f x %-4.0f | create %9.1f ms (%6.0f ns each) | step + update "
              "%8.2f ms (%5.0f ns each) | delete all %9.1f ms (%6.0f ns each)%s\n",
              count, WIDTH, height, create_ms, create_ms * per, step_ms, step_ms * per, delete_ms,
              delete_ms * per, all_stepped && live() == 0 ? "" : " | WRONG COUNT");
  std::fflush(stdout);
  return all_stepped && live() == 0;
}

// 100,000 particles from one call, living 20 steps at most; every step until
// the last has gone is timed, and the creation call with the first step.
bool particles() {
  const int count = 100000;
  vx::seedRandom(42);
  double start = cpuMs();
  vx::addParticles(count, vx::Vector(WIDTH / 2, HEIGHT / 2), 0, vx::Vector(0, 0), 0, 1.5f, 0,
                   0.1f, 0.1f, 15, 10, 255, 75, 255, 69, 0, 0, vx::PLAIN_PARTICLE);
  const double create_ms = cpuMs() - start;

  double longest_step_ms = 0, total_ms = create_ms;
  int steps = 0;
  while (live() > 0 && steps < 100) {
    start = cpuMs();
    step(steps++);
    const double ms = cpuMs() - start;
    longest_step_ms = std::max(longest_step_ms, ms);
    total_ms += ms;
  }
  std::printf("%7d particles | addParticles %7.1f ms | longest step %7.2f ms | %d steps, "
              "%.1f ms in all%s\n",
              count, create_ms, longest_step_ms, steps, total_ms,
              live() == 0 ? "" : " | PARTICLES LEFT");
  std::fflush(stdout);
  return live() == 0;
}

} // namespace

int main(int argc, char **argv) {
  // The grid takes its cell size from the configuration when the world is
  // first used, so it is set before.
  int first_count = 1;
  int cell_width = 0, cell_height = 0;
  if (argc > 1 && std::sscanf(argv[1], "--cells=%dx%d", &cell_width, &cell_height) == 2) {
    vx::Config::getInstance().loadConfig("grid_width:" + std::to_string(cell_width) +
                                         ",grid_height:" + std::to_string(cell_height) + ",");
    first_count = 2;
  }
  vx::WorldManager &world = vx::WorldManager::getInstance();
  if (world.startUp() != 0) {
    std::fprintf(stderr, "world did not start\n");
    return 1;
  }
  std::vector<int> counts;
  for (int i = first_count; i < argc; i++)
    counts.push_back(std::atoi(argv[i]));
  if (counts.empty())
    counts = {10000, 20000, 40000, 80000, 100000};

  bool ok = true;
  for (int count : counts)
    ok &= objects(count, HEIGHT);
  const int largest = *std::max_element(counts.begin(), counts.end());
  for (int count : counts)
    if (count != largest)
      ok &= objects(count, HEIGHT * static_cast<float>(count) / static_cast<float>(largest));
  const vx::Box boundary(vx::Vector(0, 0), WIDTH, HEIGHT);
  world.setBoundary(boundary);
  world.setView(boundary);
  ok &= particles();
  world.shutDown();
  return ok ? 0 : 1;
}
