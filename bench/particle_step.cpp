// Times one headless game-loop step (step event, buffer swap, input, world
// update and draw, as the game manager runs them) with many live particles,
// side by side with the same step over as many plain moving objects and over
// an empty world. The frame budget is 33 ms.
//
// Run from a directory without a window, e.g. with VEXLO_CONFIG pointing at a
// file that says "headless:true,networking:false".
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "vexlo.h"

namespace {

// A spectral object drifting like a particle but without a step handler.
class Drifter : public vx::Object {
 public:
  Drifter() { setSolidness(vx::SPECTRAL); }
  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() == vx::OUT_EVENT)
      vx::WorldManager::getInstance().markForDelete(this);
    return 0;
  }
};

// The random direction the particle generator picks: each axis a difference
// of two draws.
vx::Vector randomVelocity(float speed) {
  vx::Vector v(static_cast<float>(vx::randomInt() - vx::randomInt()) / vx::RANDOM_MAX,
               static_cast<float>(vx::randomInt() - vx::randomInt()) / vx::RANDOM_MAX);
  v.normalize();
  v.scale(speed);
  return v;
}

// Tops the world up to `count` objects made by `make` at the centre of the
// view; the objects that flew out of the world in earlier steps are replaced.
template <typename Make> void topUp(int count, Make make) {
  const int missing = count - vx::WorldManager::getInstance().getAllObjects(true).getCount();
  for (int i = 0; i < missing; i++)
    make();
}

// One step of GameManager::run, without the sleep.
void step(int number) {
  const vx::EventStep event(number);
  vx::GameManager::getInstance().onEvent(&event);
  vx::DisplayManager::getInstance().swapBuffers();
  vx::InputManager::getInstance().getInput();
  vx::WorldManager::getInstance().update();
  vx::WorldManager::getInstance().draw();
}

template <typename Make> void runSteps(benchmark::State &state, Make make) {
  const int count = static_cast<int>(state.range(0));
  int number = 0;
  for (auto _ : state) {
    state.PauseTiming();
    topUp(count, make);
    state.ResumeTiming();
    step(number++);
  }
  state.counters["objects"] = static_cast<double>(count);
  // Remove what is left, so the next run starts from an empty world.
  vx::WorldManager &world = vx::WorldManager::getInstance();
  const vx::ObjectList all = world.getAllObjects(true);
  for (int i = 0; i < all.getCount(); i++)
    world.markForDelete(all[i]);
  world.update();
}

// Particles as a burst makes them: random directions at 0.1 cells a step,
// partly transparent, living longer than the benchmark runs.
void BM_ParticleStep(benchmark::State &state) {
  runSteps(state, [] {
    vx::addParticles(1, vx::Vector(40, 12), 0, vx::Vector(0, 0), 0, 2.5f, 0, 0.1f, 0, 1000000, 0,
                     200, 0, 255, 20, 147, 0, vx::PLAIN_PARTICLE);
  });
}

// The baseline: as many plain objects moving the same way.
void BM_PlainObjectStep(benchmark::State &state) {
  runSteps(state, [] {
    vx::Object *p_o = new Drifter;
    p_o->setPosition(vx::Vector(40, 12));
    p_o->setVelocity(randomVelocity(0.1f));
  });
}

BENCHMARK(BM_ParticleStep)->Arg(0)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainObjectStep)->Arg(0)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  if (vx::GameManager::getInstance().startUp() != 0) {
    std::fprintf(stderr, "The engine did not start; see the log.\n");
    return 1;
  }
  if (!vx::Config::getInstance().getHeadless())
    std::fprintf(stderr, "Warning: not headless; set VEXLO_CONFIG to a headless configuration.\n");
  benchmark::RunSpecifiedBenchmarks();
  vx::GameManager::getInstance().shutDown();
  return 0;
}
