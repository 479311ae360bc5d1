// Times a full screen of characters: every one of the 80 x 24 cells drawn
// with drawCh, then the buffers swapped, for 100 frames in a real window.
// Prints the mean, minimum and maximum time per frame in milliseconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "Config.h"
#include "DisplayManager.h"
#include "LogManager.h"

namespace {

const int FRAMES = 100;

// Draws every cell: letters and colours shift with the frame so that no two
// consecutive frames are alike.
void drawScreen(const vx::DisplayManager &display, int frame) {
  const int columns = display.getHorizontal();
  const int rows = display.getVertical();
  for (int y = 0; y < rows; y++)
    for (int x = 0; x < columns; x++) {
      const char ch = static_cast<char>('A' + (x + y + frame) % 26);
      const vx::Color color = static_cast<vx::Color>(vx::RED + (x + y) % 7);
      display.drawCh(vx::Vector(static_cast<float>(x), static_cast<float>(y)), ch, color);
    }
}

} // namespace

int main() {
  vx::Config::getInstance().loadConfig("headless:false,window_horizontal_chars:80,"
                                       "window_vertical_chars:24");
  vx::LogManager &log_manager = vx::LogManager::getInstance();
  vx::DisplayManager &display = vx::DisplayManager::getInstance();
  if (log_manager.startUp() != 0 || display.startUp() != 0) {
    std::fprintf(stderr, "draw_screen: the display did not start (see the log)\n");
    return 1;
  }

  std::vector<double> frame_ms;
  frame_ms.reserve(FRAMES);
  for (int frame = 0; frame < FRAMES; frame++) {
    const auto start = std::chrono::steady_clock::now();
    drawScreen(display, frame);
    display.swapBuffers();
    const auto end = std::chrono::steady_clock::now();
    frame_ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }

  double total = 0;
  for (double ms : frame_ms)
    total += ms;
  std::printf("draw_screen: %d frames of %d x %d cells (%d x %d pixels)\n", FRAMES,
              display.getHorizontal(), display.getVertical(), display.getHorizontalPixels(),
              display.getVerticalPixels());
  std::printf("  mean %.3f ms/frame, min %.3f ms, max %.3f ms\n", total / FRAMES,
              *std::min_element(frame_ms.begin(), frame_ms.end()),
              *std::max_element(frame_ms.begin(), frame_ms.end()));

  display.shutDown();
  log_manager.shutDown();
  return 0;
}
