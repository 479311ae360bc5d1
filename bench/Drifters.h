// What the world benchmarks share: soft objects drifting about the world,
// random numbers from the engine's generator, and the processor time.
#ifndef VX_BENCH_DRIFTERS_H
#define VX_BENCH_DRIFTERS_H

#include <ctime>

#include "vexlo.h"

namespace bench {

// A soft object that drifts at a constant velocity and turns back when it
// leaves the world. It counts the collisions it hears of and, when it listens
// to steps, the steps.
class Drifter : public vx::Object {
 public:
  static inline long collisions = 0;
  static inline long steps = 0;

  Drifter(vx::Vector position, vx::Vector velocity, bool listen_to_steps = false) {
    setSolidness(vx::SOFT);
    setPosition(position);
    setVelocity(velocity);
    if (listen_to_steps)
      registerInterest(vx::STEP_EVENT);
  }

  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() == vx::STEP_EVENT) {
      steps++;
      return 1;
    }
    if (p_e->getType() == vx::OUT_EVENT) {
      vx::Vector v = getVelocity();
      setVelocity(vx::Vector(-v.getX(), -v.getY()));
    } else if (p_e->getType() == vx::COLLISION_EVENT) {
      collisions++;
    }
    return 0;
  }
};

inline float randomFloat(float max) {
  return max * static_cast<float>(vx::randomInt()) / static_cast<float>(vx::RANDOM_MAX);
}

// Processor time of this thread in milliseconds: other processes on the
// machine do not count against the engine.
inline double cpuMs() {
  struct timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1000 + static_cast<double>(ts.tv_nsec) / 1e6;
}

} // namespace bench

#endif // VX_BENCH_DRIFTERS_H
