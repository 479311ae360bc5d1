// Times steps of the game loop with recording off and on, side by side: an
// engine without sleeping, a world of moving solid objects and view objects
// the size of a busy minigame, and a mouse movement delivered every step as a
// player's would be. Prints the median processor time of a step both ways and
// what recording adds, in percent of a step. Headless, the step is the
// world's work alone, recording's worst case; with "window" as its argument
// (and a display) the objects are drawn as in a game.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "vexlo.h"

namespace {

const int STEPS = 500;  // Steps per measurement.
const int ROUNDS = 21;  // Measurements each way, taken in turn.
const int OBJECTS = 60; // Moving objects in the world.

double cpuMs() {
  struct timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1000 + static_cast<double>(ts.tv_nsec) / 1e6;
}

float randomFloat(float max) {
  return max * static_cast<float>(vx::randomInt()) / static_cast<float>(vx::RANDOM_MAX);
}

// A solid object drifting about the world, turning back at its edge.
class Drifter : public vx::Object {
 public:
  Drifter() {
    setSolidness(vx::SOFT);
    setPosition(vx::Vector(randomFloat(78) + 1, randomFloat(22) + 1));
    setVelocity(vx::Vector(randomFloat(0.6f) - 0.3f, randomFloat(0.4f) - 0.2f));
    vx::Shape shape;
    shape.setColor(vx::RED);
    shape.setType(vx::CIRCLE);
    shape.setSize(1);
    setShape(shape);
  }
  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() != vx::OUT_EVENT)
      return 0;
    setVelocity(vx::Vector(-getVelocity().getX(), -getVelocity().getY()));
    return 1;
  }
};

// Moves the mouse every step, and ends the loop after STEPS steps.
class Player : public vx::Object {
  int m_steps = 0;

 public:
  Player() {
    setSolidness(vx::SPECTRAL);
    registerInterest(vx::STEP_EVENT);
  }
  int eventHandler(const vx::Event *p_e) override {
    if (p_e->getType() != vx::STEP_EVENT)
      return 0;
    vx::EventMouse mouse;
    mouse.setMouseAction(vx::MOVED);
    mouse.setMousePosition(vx::Vector(randomFloat(80), randomFloat(24)));
    vx::InputManager::getInstance().queueInput(mouse);
    if (++m_steps % STEPS == 0)
      vx::GameManager::getInstance().setGameOver(true);
    return 1;
  }
};

// Restarts the recorder, writing to `path` or not recording at all.
void restartRecorder(const std::string &path) {
  vx::Recorder &recorder = vx::Recorder::getInstance();
  if (recorder.isStarted())
    recorder.shutDown();
  recorder.setRecordFile(path);
  recorder.startUp();
  recorder.chooseSeed(1);
}

// Processor time of one step in microseconds.
double stepUs() {
  const double start = cpuMs();
  vx::GameManager::getInstance().run();
  return (cpuMs() - start) * 1000 / STEPS;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[]) {
  const bool window = argc > 1 && std::string(argv[1]) == "window";
  char dir_template[] = "/tmp/vexlo-bench-XXXXXX";
  if (mkdtemp(dir_template) == nullptr)
    return 1;
  const std::string dir = dir_template;
  const std::string config = dir + "/config.txt", record = dir + "/bench.vxr";
  std::FILE *p_file = std::fopen(config.c_str(), "w");
  if (p_file == nullptr)
    return 1;
  std::fputs(window ? "networking:false,frame_time:0,random_seed:5,"
                    : "headless:true,networking:false,frame_time:0,random_seed:5,",
             p_file);
  std::fclose(p_file);
  setenv("VEXLO_CONFIG", config.c_str(), 1);
  setenv("VEXLO_LOG", (dir + "/vexlo.log").c_str(), 1);
  if (vx::GameManager::getInstance().startUp() != 0)
    return 1;
  for (int i = 0; i < OBJECTS; i++)
    new Drifter;
  for (int i = 0; i < 3; i++)
    (new vx::ViewObject)->setValue(i);
  new Player;

  // Each round measures both ways back to back; the median of the rounds'
  // differences is steadier than the difference of the medians when the
  // machine's load drifts.
  std::vector<double> off, on, added;
  for (int round = 0; round < ROUNDS; round++) {
    restartRecorder("");
    off.push_back(stepUs());
    restartRecorder(record);
    on.push_back(stepUs());
    added.push_back(on.back() - off.back());
  }
  restartRecorder("");
  vx::GameManager::getInstance().shutDown();
  const double off_us = median(off), on_us = median(on), added_us = median(added);
  std::printf("%s, %d objects, %d steps x %d rounds, median processor time of one step:\n",
              window ? "window" : "headless", OBJECTS, STEPS, ROUNDS);
  std::printf("  recording off: %8.2f us\n  recording on:  %8.2f us\n", off_us, on_us);
  std::printf("  recording adds %.2f us (median of the rounds' differences), %.2f%% of a step\n",
              added_us, added_us * 100 / off_us);
  std::remove(record.c_str());
  std::remove(config.c_str());
  std::remove((dir + "/vexlo.log").c_str());
  rmdir(dir.c_str());
  return 0;
}
