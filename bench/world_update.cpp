// Times one world update with many solid objects moving about, and compares
// the grid's collision queries with a brute-force check of the same moves
// against every other solid object.
//
// For each world size and object count it prints the median processor time
// of one world update (moves with collision events, through the grid), of the
// grid queries alone for every object's next move, and of the brute-force
// queries for the same moves, which must find exactly the same objects.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Drifters.h"
#include "vexlo.h"

namespace {

using bench::cpuMs;
using bench::Drifter;
using bench::randomFloat;

// Each measurement is repeated at least MIN_REPEATS and at most MAX_REPEATS
// times, stopping once BUDGET_MS of processor time have gone into it.
const int MIN_REPEATS = 3;
const int MAX_REPEATS = 15;
const double BUDGET_MS = 2000;

// Runs the action repeatedly and returns the median processor time of one
// run in ms; `runs` receives the number of runs.
template <typename Action> double medianMs(Action action, int &runs) {
  std::vector<double> times;
  double total = 0;
  while (static_cast<int>(times.size()) < MAX_REPEATS &&
         (static_cast<int>(times.size()) < MIN_REPEATS || total < BUDGET_MS)) {
    double start = cpuMs();
    action();
    times.push_back(cpuMs() - start);
    total += times.back();
  }
  std::sort(times.begin(), times.end());
  runs = static_cast<int>(times.size());
  return times[times.size() / 2];
}

// The objects a brute-force check finds for p_o standing at where: every
// other solid object whose box touches p_o's box there.
std::vector<vx::Object *> bruteForce(const vx::ObjectList &solid, vx::Object *p_o,
                                     vx::Vector where) {
  std::vector<vx::Object *> hits;
  const vx::Box box = vx::getWorldBox(p_o, where);
  for (int i = 0; i < solid.getCount(); i++) {
    vx::Object *p_other = solid[i];
    if (p_other != p_o && vx::boxIntersectsBox(box, vx::getWorldBox(p_other)))
      hits.push_back(p_other);
  }
  return hits;
}

std::vector<vx::Object *> sorted(const vx::ObjectList &list) {
  std::vector<vx::Object *> result;
  for (int i = 0; i < list.getCount(); i++)
    result.push_back(list[i]);
  std::sort(result.begin(), result.end());
  return result;
}

// Returns false when the grid and the brute force disagree.
bool scenario(float width, float height, int count) {
  vx::WorldManager &world = vx::WorldManager::getInstance();
  if (world.startUp() != 0)
    return false;
  vx::Box boundary(vx::Vector(0, 0), width, height);
  world.setBoundary(boundary);
  world.setView(boundary);

  vx::seedRandom(42);
  for (int i = 0; i < count; i++)
    new Drifter(vx::Vector(randomFloat(width), randomFloat(height)),
                vx::Vector(randomFloat(2) - 1, randomFloat(2) - 1));
  world.update(); // Settle in: first moves, first turns at the edges.

  Drifter::collisions = 0;
  int runs = 0;
  double update_ms = medianMs([&] { world.update(); }, runs);
  long events_per_update = Drifter::collisions / runs;

  // The next move of every object, checked both ways.
  const vx::ObjectList objects = world.getAllObjects();
  const vx::ObjectList solid = world.getSceneGraph().solidObjects();
  std::vector<vx::Vector> targets;
  for (int i = 0; i < objects.getCount(); i++)
    targets.push_back(objects[i]->predictPosition());

  long grid_hits = 0, brute_hits = 0;
  double grid_ms = medianMs([&] {
    grid_hits = 0;
    for (int i = 0; i < objects.getCount(); i++)
      grid_hits += world.getCollisions(objects[i], targets[i]).getCount();
  }, runs);
  double brute_ms = medianMs([&] {
    brute_hits = 0;
    for (int i = 0; i < objects.getCount(); i++)
      brute_hits += static_cast<long>(bruteForce(solid, objects[i], targets[i]).size());
  }, runs);

  bool same = grid_hits == brute_hits;
  for (int i = 0; same && i < objects.getCount(); i++) {
    std::vector<vx::Object *> brute = bruteForce(solid, objects[i], targets[i]);
    std::sort(brute.begin(), brute.end());
    same = brute == sorted(world.getCollisions(objects[i], targets[i]));
  }

  std::printf("%5.0f x %-4.0f %6d objects | update %9.3f ms (%7ld collision events) | "
              "grid queries %9.3f ms | brute force %9.3f ms | brute/update %7.1f | "
              "brute/grid %7.1f | %.2f hits per move, %s\n",
              width, height, count, update_ms, events_per_update, grid_ms, brute_ms,
              brute_ms / update_ms, brute_ms / grid_ms,
              static_cast<double>(grid_hits) / objects.getCount(),
              same ? "same results" : "RESULTS DIFFER");
  std::fflush(stdout);
  world.shutDown();
  return same;
}

} // namespace

int main() {
  bool ok = true;
  for (int count : {1000, 10000}) {
    ok &= scenario(80, 24, count);
    ok &= scenario(800, 240, count);
  }
  return ok ? 0 : 1;
}
