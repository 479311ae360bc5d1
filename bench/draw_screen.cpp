// Times drawing in a real 1024 x 768 window, side by side: one library call per
// figure (a rectangle and a one-letter text for every character, a circle shape
// for every particle) against the display manager's batched drawing, which
// sends a whole frame as a few layers of triangles. Scenes:
//   - an empty frame: only the clear and the swap, the floor under the others;
//   - a full screen of characters, 80 x 24 cells;
//   - the same with the view sliding 0.37 cells a frame, so that every
//     character lands on a new fraction of a pixel in every frame;
//   - 2,000 particles made by vx::addParticles, drawn as the world draws them;
//   - a full screen of 160 x 48 cells in the same window, four times the
//     characters, to show how the cost grows.
// A frame is the drawing plus swapBuffers. Prints, per frame in milliseconds,
// the median and the fastest wall-clock time and the processor time of the
// whole process (the software renderer's threads included), and the speed-up
// of the medians. The two ways take turns of ten frames, so that other
// programs sharing the machine slow both alike; the fastest frame and the
// processor time say the most when they do.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <utility>
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
const int TURNS = 10;
const int WARM_UP_FRAMES = 3;    // Untimed, before every turn.
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

// One way of drawing a scene and the frames timed so far.
class TimedDrawing {
 private:
  std::function<void(int)> m_draw_frame;
  std::vector<double> m_frame_ms;
  double m_processor_ms = 0;
  int m_frame = 0;

  void drawFrame() {
    m_draw_frame(m_frame++);
    vx::DisplayManager::getInstance().swapBuffers();
  }

 public:
  explicit TimedDrawing(std::function<void(int)> draw_frame) : m_draw_frame(std::move(draw_frame)) {}

  // Draws a few untimed frames, so that what the other way drew meanwhile no
  // longer weighs on the renderer's caches, then frames timed with their swap.
  void run(int frames) {
    for (int i = 0; i < WARM_UP_FRAMES; i++)
      drawFrame();
    for (int i = 0; i < frames; i++) {
      const double processor_start = processorMs();
      const auto start = std::chrono::steady_clock::now();
      drawFrame();
      const auto end = std::chrono::steady_clock::now();
      m_processor_ms += processorMs() - processor_start;
      m_frame_ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
  }

  Timing timing() const {
    std::vector<double> sorted = m_frame_ms;
    std::sort(sorted.begin(), sorted.end());
    return Timing{sorted[sorted.size() / 2], sorted[0],
                  m_processor_ms / static_cast<double>(sorted.size())};
  }
};

// Both ways of drawing a scene, FRAMES frames each, timed in turns of
// FRAMES / TURNS frames, so that whatever else the machine does meanwhile
// slows both alike.
void timeInTurns(const std::function<void(int)> &reference_frame,
                 const std::function<void(int)> &batched_frame, Timing &reference_timing,
                 Timing &batched_timing) {
  TimedDrawing reference(reference_frame), batched(batched_frame);
  for (int turn = 0; turn < TURNS; turn++) {
    reference.run(FRAMES / TURNS);
    batched.run(FRAMES / TURNS);
  }
  reference_timing = reference.timing();
  batched_timing = batched.timing();
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
// With a slide, the view moves that many cells right every frame, so the
// characters land on new fractions of a pixel every frame.
void timeFullScreen(const char *scene, Timing &reference_timing, Timing &batched_timing,
                    float slide = 0) {
  const vx::DisplayManager &display = vx::DisplayManager::getInstance();
  vx::WorldManager &world = vx::WorldManager::getInstance();
  auto slideView = [&](int frame) {
    vx::Box view = world.getView();
    view.setCorner(vx::Vector(slide * static_cast<float>(frame % 100), 0));
    world.setView(view);
  };
  vxtest::ReferenceDrawing reference(sf::Color::Black);
  timeInTurns(
      [&](int frame) {
        slideView(frame);
        forEachCell([&](int x, int y) {
          reference.drawCh(cell(x, y), cellCharacter(x, y, frame),
                           vx::colorToSFML(cellColor(x, y)));
        });
      },
      [&](int frame) {
        slideView(frame);
        forEachCell([&](int x, int y) {
          display.drawCh(cell(x, y), cellCharacter(x, y, frame), cellColor(x, y));
        });
      },
      reference_timing, batched_timing);
  slideView(0);
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
  Timing reference_timing, batched_timing;
  timeInTurns(
      [&](int) {
        for (int i = 0; i < particles.getCount(); i++)
          reference.drawShape(particles[i]->getShape(), particles[i]->getPosition());
      },
      [&](int) {
        for (int i = 0; i < particles.getCount(); i++)
          particles[i]->draw();
      },
      reference_timing, batched_timing);
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
  Timing empty, also_empty;
  timeInTurns([](int) {}, [](int) {}, empty, also_empty);
  printRow("empty frame", empty, also_empty);
  Timing reference, batched;
  timeFullScreen("80 x 24 characters", reference, batched);
  const double full_screen_speed_up = reference.median / batched.median;
  const double full_screen_ms = batched.median;
  Timing sliding_reference, sliding_batched;
  timeFullScreen("80 x 24, view sliding", sliding_reference, sliding_batched, 0.37f);
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
