// The engine draws with any TrueType font, monospaced or proportional: every
// printable character keeps inside the cell its background rectangle blanks,
// so no neighbour cuts it off, and stays large and distinct enough to read.
#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include "Config.h"
#include "DisplayManager.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

namespace {

// Fonts from Debian packages the engine was not made with.
const char *const FONTS[] = {
    "dejavu/DejaVuSansMono.ttf",           "dejavu/DejaVuSans.ttf",
    "liberation2/LiberationMono-Regular.ttf", "liberation2/LiberationSans-Regular.ttf",
    "liberation2/LiberationSerif-Regular.ttf", "freefont/FreeMono.ttf",
    "freefont/FreeSans.ttf",               "freefont/FreeSerif.ttf",
};

// The default window (cells of 12.8 x 32 pixels) and one with square cells.
const char *const WINDOWS[] = {
    "",
    "window_horizontal_pixels:800,window_vertical_pixels:480,window_horizontal_chars:40,"
    "window_vertical_chars:24,font_scale:1.0,",
};

struct Ink {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1; // Bounds, inclusive.
  int pixels = 0;
  std::string shape; // One '#' or '.' per pixel of the searched area, row by row.
};

// The drawn pixels (anti-aliased edges excepted) in [x0, x1) x [y0, y1).
Ink inkIn(const sf::Image &image, int x0, int y0, int x1, int y1) {
  Ink ink;
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, static_cast<int>(image.getSize().x));
  y1 = std::min(y1, static_cast<int>(image.getSize().y));
  for (int y = y0; y < y1; y++)
    for (int x = x0; x < x1; x++) {
      const bool drawn = image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)).r > 64;
      ink.shape += drawn ? '#' : '.';
      if (drawn) {
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
        ink.pixels++;
      }
    }
  return ink;
}

TEST(FontsWindow, EveryCharacterStaysInsideItsCellInEveryFont) {
  vxtest::LogCapture log;
  vx::DisplayManager &display = vx::DisplayManager::getInstance();
  for (const char *window : WINDOWS) {
    for (const char *font : FONTS) {
      const std::string path = std::string("/usr/share/fonts/truetype/") + font;
      SCOPED_TRACE(path + (window[0] ? " in square cells" : " in the default window"));
      ASSERT_NE(vxtest::readFile(path), "") << "font not installed";
      vx::Config::getInstance().loadConfig(std::string("headless:false,") + window +
                                           "font_file:" + path);
      ASSERT_EQ(display.startUp(), 0);
      display.swapBuffers();

      // Every printable character in a cell of its own, with two empty cells
      // between any two, so all ink around a cell is its character's.
      const int columns = (display.getHorizontal() - 1) / 3;
      auto cellOf = [columns](char c) {
        const int i = c - '!';
        return vx::Vector(static_cast<float>(1 + 3 * (i % columns)),
                          static_cast<float>(1 + 3 * (i / columns)));
      };
      for (char c = '!'; c <= '~'; c++)
        ASSERT_EQ(display.drawCh(cellOf(c), c, vx::WHITE), 0);
      const sf::Image image = vxtest::backBuffer();
      const float w = vx::charWidth(), h = vx::charHeight();
      int cap_height = 0;
      std::set<std::string> shapes;
      for (char c = '!'; c <= '~'; c++) {
        const float x = cellOf(c).getX() * w, y = cellOf(c).getY() * h;
        // The rectangle that blanks the cell before its character is drawn;
        // the neighbours' rectangles tile the window around it.
        const int left = static_cast<int>(std::floor(x - w / 10));
        const int top = static_cast<int>(std::floor(y + h / 5));
        const int right = static_cast<int>(std::ceil(x + w - w / 10));
        const int bottom = static_cast<int>(std::ceil(y + h + h / 5));
        const Ink ink = inkIn(image, static_cast<int>(x - w), static_cast<int>(y - h),
                              static_cast<int>(x + 2 * w), static_cast<int>(y + 2 * h));
        EXPECT_GT(ink.pixels, 0) << "'" << c << "' drew nothing";
        EXPECT_TRUE(ink.left >= left && ink.right < right && ink.top >= top && ink.bottom < bottom)
            << "'" << c << "' ink x " << ink.left << ".." << ink.right << " y " << ink.top << ".."
            << ink.bottom << " outside cell x " << left << ".." << right - 1 << " y " << top
            << ".." << bottom - 1;
        if (c == 'H')
          cap_height = ink.bottom - ink.top + 1;
        shapes.insert(ink.shape);
      }
      // Legible: capitals at least as tall as the seven dots of the smallest
      // dot-matrix type, and the characters told apart, but for the two or so
      // that small sans-serif type draws alike (l, I, |, i).
      EXPECT_GE(cap_height, 7);
      EXPECT_GE(shapes.size(), static_cast<size_t>('~' - '!' + 1 - 2));
      display.shutDown();
    }
  }
  EXPECT_EQ(log.count("Error"), 0);
}

} // namespace
