// Times drawing in a real 1024 x 768 window, side by side: one library call per
// figure (a rectangle and a one-letter text for every character, a circle shape
// for every particle) against the display manager's batched drawing, which
// sends a whole frame in two draw calls. Scenes:
//   - an empty frame: only the clear and the swap, the floor under the others;
//   - a full screen of characters, 80 x 24 cells;
//   - 2,000 particles made by vx::addParticles, drawn as the world draws them;
//   - a full screen of 160 x 48 cells in the same window, four times the
//     characters, to show how the cost grows.
// A frame is the drawing plus swapBuffers. Prints, per frame in milliseconds,
// the median and the fastest wall-clock time and the processor time of the
// whole process (the software renderer's threads included), and the speed-up
// of the medians. The fastest frame and the processor time say the most when
// other programs share the machine.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "Config.h"
#include "DisplayManager.h"
#include "LogManager.h"
#include "Object.h"
#include "ObjectList.h"
#include "Particle.h"
#include "ReferenceDrawing.h"
#include "WorldManager.h"

namespace {

const int FRAMES = 100;
const int WARM_UP_FRAMES = 5;
const int PARTICLES = 2000;

struct Timing {
  double median;
  double fastest;
  double processor;
};

// Processor time used by the whole process so far, in milliseconds.
double processorMs() {
  timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Draws FRAMES frames (after a few untimed ones) and times each with its swap.
Timing timeFrames(const std::function<void(int)> &draw_frame) {
  vx::DisplayManager &display = vx::DisplayManager::getInstance();
  std::vector<double> frame_ms;
  double processor_start = 0;
  for (int frame = -WARM_UP_FRAMES; frame < FRAMES; frame++) {
    if (frame == 0)
      processor_start = processorMs();
    const auto start = std::chrono::steady_clock::now();
    draw_frame(frame);
    display.swapBuffers();
    const auto end = std::chrono::steady_clock::now();
    if (frame >= 0)
      frame_ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  const double processor = (processorMs() - processor_start) / FRAMES;
  std::sort(frame_ms.begin(), frame_ms.end());
  return Timing{frame_ms[FRAMES / 2], frame_ms[0], processor};
}

// The character and colour of a cell: they shift with the frame so that no
// two consecutive frames are alike.
char cellCharacter(int x, int y, int frame) { return static_cast<char>('A' + (x + y + frame) % 26); }
vx::Color cellColor(int x, int y) { return static_cast<vx::Color>(vx::RED + (x + y) % 7); }

// Calls draw(x, y) for every cell of the window.
void forEachCell(const std::function<void(int, int)> &draw) {
  const vx::DisplayManager &display = vx::DisplayManager::getInstance();
  for (int y = 0; y < display.getVertical(); y++)
    for (int x = 0; x < display.getHorizontal(); x++)
      draw(x, y);
}

vx::Vector cell(int x, int y) { return vx::Vector(static_cast<float>(x), static_cast<float>(y)); }

// Opens the window with the given number of cells.
bool startDisplay(int columns, int rows) {
  vx::DisplayManager &display = vx::DisplayManager::getInstance();
  display.shutDown();
  vx::Config::getInstance().loadConfig(
      "headless:false,window_horizontal_pixels:1024,window_vertical_pixels:768,"
      "window_horizontal_chars:" + std::to_string(columns) +
      ",window_vertical_chars:" + std::to_string(rows));
  return display.startUp() == 0;
}

void printRow(const char *scene, const Timing &reference, const Timing &batched) {
  std::printf("  %-22s %8.3f %8.3f %8.3f   %8.3f %8.3f %8.3f   %6.1fx\n", scene,
              reference.median, reference.fastest, reference.processor, batched.median,
              batched.fastest, batched.processor, reference.median / batched.median);
}

// Both ways of drawing a full screen of characters.
void timeFullScreen(const char *scene, Timing &reference_timing, Timing &batched_timing) {
  const vx::DisplayManager &display = vx::DisplayManager::getInstance();
  vxtest::ReferenceDrawing reference(sf::Color::Black);
  reference_timing = timeFrames([&](int frame) {
    forEachCell([&](int x, int y) {
      reference.drawCh(cell(x, y), cellCharacter(x, y, frame), vx::colorToSFML(cellColor(x, y)));
    });
  });
  batched_timing = timeFrames([&](int frame) {
    forEachCell([&](int x, int y) {
      display.drawCh(cell(x, y), cellCharacter(x, y, frame), cellColor(x, y));
    });
  });
  printRow(scene, reference_timing, batched_timing);
}

// Both ways of drawing a burst of half-transparent particles of many sizes
// spread over the window.
void timeParticles() {
  vx::WorldManager &world = vx::WorldManager::getInstance();
  world.startUp();
  vx::addParticles(PARTICLES, vx::Vector(40, 12), 24, vx::Vector(0, 0), 0, 8, 6, 0.5f, 0.5f,
                   100, 0, 160, 120, 255, 128, 40, 80, vx::PLAIN_PARTICLE);
  const vx::ObjectList particles = world.getAllObjects(true);

  vxtest::ReferenceDrawing reference(sf::Color::Black);
  const Timing reference_timing = timeFrames([&](int) {
    for (int i = 0; i < particles.getCount(); i++)
      reference.drawShape(particles[i]->getShape(), particles[i]->getPosition());
  });
  const Timing batched_timing = timeFrames([&](int) {
    for (int i = 0; i < particles.getCount(); i++)
      particles[i]->draw();
  });
  const std::string scene = std::to_string(particles.getCount()) + " particles";
  printRow(scene.c_str(), reference_timing, batched_timing);
  world.shutDown();
}

} // namespace

int main() {
  vx::LogManager &log_manager = vx::LogManager::getInstance();
  if (log_manager.startUp() != 0 || !startDisplay(80, 24)) {
    std::fprintf(stderr, "draw_screen: the display did not start (see the log)\n");
    return 1;
  }

  std::printf("draw_screen: milliseconds per frame (drawing and swapBuffers) over %d frames, "
              "1024 x 768 window\n",
              FRAMES);
  std::printf("  %-22s %-28s   %-28s   %s\n", "", "one call per figure", "batched", "speed-up");
  std::printf("  %-22s %8s %8s %8s   %8s %8s %8s\n", "scene", "median", "fastest", "cpu",
              "median", "fastest", "cpu");
  // What a frame costs with nothing drawn: clearing and showing the window,
  // the floor under every other row.
  const Timing empty = timeFrames([](int) {});
  printRow("empty frame", empty, empty);
  Timing reference, batched;
  timeFullScreen("80 x 24 characters", reference, batched);
  const double full_screen_speed_up = reference.median / batched.median;
  const double full_screen_ms = batched.median;
  timeParticles();
  if (startDisplay(160, 48)) {
    Timing large_reference, large_batched;
    timeFullScreen("160 x 48 characters", large_reference, large_batched);
  }

  std::printf("80 x 24 batched: %.1f times faster than one call per figure, %.3f ms a frame "
              "(median)\n",
              full_screen_speed_up, full_screen_ms);

  vx::DisplayManager::getInstance().shutDown();
  log_manager.shutDown();
  return 0;
}
