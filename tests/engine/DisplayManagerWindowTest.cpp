// The display manager with a real window: characters land in their cells in
// their colours, strings are justified, frames clear to the background.
#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>

#include <limits>
#include <set>
#include <string>

#include "Config.h"
#include "DisplayManager.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

using vx::DisplayManager;
using vx::Vector;

namespace {

using vxtest::backBuffer;
using vxtest::countColor;

// 800 x 480 pixels in 40 x 24 cells of 20 x 20 pixels, with characters of
// 20 pixels, so a glyph stays inside its own cell.
const char *const WINDOW_CONFIG =
    "headless:false,window_horizontal_pixels:800,window_vertical_pixels:480,"
    "window_horizontal_chars:40,window_vertical_chars:24,font_scale:1.0,";
const int CELL = 20;

class DisplayWindow : public ::testing::Test {
 protected:
  vxtest::LogCapture m_log;

  void SetUp() override {
    vx::Config::getInstance().loadConfig(WINDOW_CONFIG);
    ASSERT_EQ(DisplayManager::getInstance().startUp(), 0);
    ASSERT_NE(DisplayManager::getInstance().getWindow(), nullptr);
  }

  void TearDown() override { DisplayManager::getInstance().shutDown(); }

  // The columns of a row of cells that hold pixels of the colour.
  static std::set<int> columnsWith(const sf::Image &image, sf::Color color, int row) {
    std::set<int> columns;
    for (int column = 0; column < 40; column++)
      if (countColor(image, color, column * CELL, row * CELL, (column + 1) * CELL,
                     (row + 1) * CELL) > 0)
        columns.insert(column);
    return columns;
  }

  // The bounding box of the pixels of a colour (empty if there are none).
  static sf::IntRect boundsOf(const sf::Image &image, sf::Color color) {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    for (unsigned y = 0; y < image.getSize().y; y++)
      for (unsigned x = 0; x < image.getSize().x; x++)
        if (image.getPixel(x, y) == color) {
          left = std::min(left, static_cast<int>(x));
          top = std::min(top, static_cast<int>(y));
          right = std::max(right, static_cast<int>(x));
          bottom = std::max(bottom, static_cast<int>(y));
        }
    if (right < 0)
      return sf::IntRect();
    return sf::IntRect(left, top, right - left + 1, bottom - top + 1);
  }
};

} // namespace

// Displays and sizes the window system cannot give fail the start-up, logged.
TEST(DisplayWindowRefusal, UnreachableDisplaysAndImpossibleSizesFailTheStartUp) {
  GTEST_FLAG_SET(death_test_style, "threadsafe"); // The window library does not survive a fork.
  const struct { const char *display, *size; int result; } cases[] = {
      {":4242", "1024", -1}, {nullptr, "100000", -1}, {nullptr, "65536", -1}, {nullptr, "640", 0}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.size);
    EXPECT_EXIT(vxtest::LogCapture log; c.display && setenv("DISPLAY", c.display, 1);
                vx::Config::getInstance().loadConfig(std::string("window_horizontal_pixels:") + c.size);
                const int result = DisplayManager::getInstance().startUp();
                std::exit(result == c.result && (result == 0) != log.contains("Error!") ? 0 : 1),
                ::testing::ExitedWithCode(0), "");
  }
}

TEST_F(DisplayWindow, OpensTheConfiguredWindow) {
  const sf::RenderWindow &window = *DisplayManager::getInstance().getWindow();
  EXPECT_TRUE(window.isOpen());
  EXPECT_EQ(window.getSize(), sf::Vector2u(800, 480));
  EXPECT_FLOAT_EQ(vx::charWidth(), 20.0f);
  EXPECT_FLOAT_EQ(vx::charHeight(), 20.0f);
  EXPECT_TRUE(m_log.messages().empty());
}

TEST_F(DisplayWindow, CharacterLandsInItsCellInItsColour) {
  DisplayManager &display = DisplayManager::getInstance();
  ASSERT_TRUE(display.setBackgroundColor(vx::BLUE));
  ASSERT_EQ(display.swapBuffers(), 0);
  ASSERT_EQ(display.drawCh(Vector(5, 3), 'M', vx::RED), 0);

  const sf::Image image = backBuffer();
  const sf::IntRect red = boundsOf(image, sf::Color::Red);
  ASSERT_GT(red.width, 0) << "nothing red was drawn";
  // The glyph sits inside cell (5, 3): x 100..120, y 60..80.
  EXPECT_GE(red.left, 5 * CELL);
  EXPECT_LE(red.left + red.width, 6 * CELL);
  EXPECT_GE(red.top, 3 * CELL);
  EXPECT_LE(red.top + red.height, 4 * CELL);
  EXPECT_GT(red.width * red.height, 40);
  // The rest is the background colour.
  EXPECT_EQ(countColor(image, sf::Color::Blue, 0, 0, 800, 60), 800 * 60);
}

TEST_F(DisplayWindow, CharacterColourMayBeAnyRGB) {
  DisplayManager &display = DisplayManager::getInstance();
  ASSERT_EQ(display.swapBuffers(), 0);
  ASSERT_EQ(display.drawCh(Vector(10, 10), '#', 10, 200, 30), 0);
  const sf::IntRect drawn = boundsOf(backBuffer(), sf::Color(10, 200, 30));
  ASSERT_GT(drawn.width, 0);
  EXPECT_GE(drawn.left, 10 * CELL);
  EXPECT_LE(drawn.left + drawn.width, 11 * CELL);
}

TEST_F(DisplayWindow, BackgroundRectangleBlanksTheCellUnderACharacter) {
  DisplayManager &display = DisplayManager::getInstance();
  ASSERT_EQ(display.swapBuffers(), 0);
  ASSERT_EQ(display.drawCh(Vector(7, 7), '#', vx::GREEN), 0);
  ASSERT_GT(countColor(backBuffer(), sf::Color::Green, 7 * CELL, 7 * CELL, 8 * CELL, 8 * CELL), 20);

  // A later character in the same cell paints over the earlier one entirely.
  ASSERT_EQ(display.drawCh(Vector(7, 7), '.', vx::YELLOW), 0);
  const sf::Image image = backBuffer();
  EXPECT_EQ(countColor(image, sf::Color::Green, 0, 0, 800, 480), 0);
  EXPECT_GT(countColor(image, sf::Color::Yellow, 7 * CELL, 7 * CELL, 8 * CELL, 8 * CELL), 0);
}

TEST_F(DisplayWindow, CharactersBlankTheirCellsOverWhatWasDrawnOnTheWindow) {
  DisplayManager &display = DisplayManager::getInstance();
  ASSERT_EQ(display.swapBuffers(), 0);
  display.getWindow()->clear(sf::Color::Red); // Drawn straight on the window.
  for (int i = 0; i < 3; i++)
    ASSERT_EQ(display.drawCh(Vector(static_cast<float>(3 + i), 3), "#. "[i], vx::GREEN), 0);
  const sf::Image image = backBuffer();
  for (int x = 3 * CELL + CELL / 5; x < 6 * CELL; x += CELL) // The middle of each background.
    EXPECT_EQ(countColor(image, sf::Color::Red, x, 3 * CELL + 4, x + CELL / 2, 4 * CELL), 0) << x;
}

TEST_F(DisplayWindow, AngleIsInDegrees) {
  DisplayManager &display = DisplayManager::getInstance();
  ASSERT_EQ(display.swapBuffers(), 0);
  // Turned a quarter clockwise about the cell's top-left corner, the glyph
  // moves to the left of that corner.
  ASSERT_EQ(display.drawCh(Vector(10, 5), 'M', vx::WHITE, 90), 0);
  const sf::IntRect white = boundsOf(backBuffer(), sf::Color::White);
  ASSERT_GT(white.width, 0);
  EXPECT_LE(white.left + white.width, 10 * CELL);
  EXPECT_GE(white.left, 9 * CELL);
  EXPECT_GE(white.top, 5 * CELL);
}

TEST_F(DisplayWindow, StringsAreJustifiedAroundThePosition) {
  DisplayManager &display = DisplayManager::getInstance();
  ASSERT_EQ(display.swapBuffers(), 0);
  ASSERT_EQ(display.drawString(Vector(20, 2), "ABCDE", vx::JUSTIFY_CENTER, vx::RED), 0);
  ASSERT_EQ(display.drawString(Vector(20, 6), "ABCDE", vx::JUSTIFY_RIGHT, vx::GREEN), 0);
  ASSERT_EQ(display.drawString(Vector(20, 10), "ABCDE", vx::JUSTIFY_LEFT, vx::YELLOW), 0);
  ASSERT_EQ(display.drawString(Vector(20, 14), "ABCD", vx::JUSTIFY_CENTER, vx::CYAN), 0);
  ASSERT_EQ(display.drawString(Vector(20, 18), "", vx::JUSTIFY_CENTER, vx::WHITE), 0);

  const sf::Image image = backBuffer();
  EXPECT_EQ(columnsWith(image, sf::Color::Red, 2), (std::set<int>{18, 19, 20, 21, 22}));
  EXPECT_EQ(columnsWith(image, sf::Color::Green, 6), (std::set<int>{15, 16, 17, 18, 19}));
  EXPECT_EQ(columnsWith(image, sf::Color::Yellow, 10), (std::set<int>{20, 21, 22, 23, 24}));
  EXPECT_EQ(columnsWith(image, sf::Color::Cyan, 14), (std::set<int>{18, 19, 20, 21}));
  EXPECT_EQ(countColor(image, sf::Color::White, 0, 0, 800, 480), 0);
}

TEST_F(DisplayWindow, SwapBuffersClearsToTheBackgroundColour) {
  DisplayManager &display = DisplayManager::getInstance();
  ASSERT_TRUE(display.setBackgroundColor(vx::MAGENTA));
  ASSERT_EQ(display.drawString(Vector(0, 0), "xxxx", vx::JUSTIFY_LEFT, vx::WHITE), 0);
  ASSERT_EQ(display.swapBuffers(), 0);
  EXPECT_EQ(countColor(backBuffer(), sf::Color::Magenta, 0, 0, 800, 480), 800 * 480);

  // The background rectangle follows the new colour too.
  ASSERT_EQ(display.drawCh(Vector(3, 3), ' ', vx::WHITE), 0);
  EXPECT_EQ(countColor(backBuffer(), sf::Color::Magenta, 0, 0, 800, 480), 800 * 480);
}

TEST_F(DisplayWindow, CharactersFarOutsideTheWindowDrawNothing) {
  // Cells of 20 pixels, then one cell the size of the window, whose glyphs
  // are hundreds of pixels wide: billions of pixels out, further than an int
  // counts, a glyph's corners are still apart.
  for (const char *cells : {"", "window_horizontal_chars:1,window_vertical_chars:1,"}) {
    DisplayManager &display = DisplayManager::getInstance();
    display.shutDown();
    vx::Config::getInstance().loadConfig(cells + std::string(WINDOW_CONFIG));
    ASSERT_EQ(display.startUp(), 0);
    ASSERT_TRUE(display.setBackgroundColor(vx::BLUE));
    ASSERT_EQ(display.swapBuffers(), 0);
    // 2.5 billion pixels out, in cells.
    const float across = 2.5e9f * static_cast<float>(display.getHorizontal()) / 800;
    const float down = 2.5e9f * static_cast<float>(display.getVertical()) / 480;
    const float infinite = std::numeric_limits<float>::infinity();
    for (const Vector &position : {Vector(across, 0), Vector(-across, 0), Vector(0, down),
                                   Vector(0, -down), Vector(infinite, 0), Vector(0, -infinite)})
      EXPECT_EQ(display.drawCh(position, 'M', vx::RED), 0);
    EXPECT_EQ(countColor(backBuffer(), sf::Color::Blue, 0, 0, 800, 480), 800 * 480) << cells;
  }
}

TEST_F(DisplayWindow, ConfiguredBackgroundColourIsUsed) {
  DisplayManager::getInstance().shutDown();
  vx::Config::getInstance().loadConfig("window_background_color:cyan");
  ASSERT_EQ(DisplayManager::getInstance().startUp(), 0);
  ASSERT_EQ(DisplayManager::getInstance().swapBuffers(), 0);
  EXPECT_EQ(countColor(backBuffer(), sf::Color::Cyan, 0, 0, 800, 480), 800 * 480);
}

TEST_F(DisplayWindow, ShutDownClosesTheWindow) {
  DisplayManager &display = DisplayManager::getInstance();
  display.shutDown();
  EXPECT_FALSE(display.isStarted());
  EXPECT_EQ(display.getWindow(), nullptr);
  EXPECT_EQ(display.swapBuffers(), -1);
  EXPECT_EQ(m_log.count("DisplayManager not started!"), 1);
  // Starting again opens a new window.
  ASSERT_EQ(display.startUp(), 0);
  EXPECT_NE(display.getWindow(), nullptr);
}

TEST(DisplayWindowStartUp, MissingFontFailsNamingTheFile) {
  vxtest::LogCapture log;
  vx::Config::getInstance().loadConfig(std::string(WINDOW_CONFIG) + "font_file:no-such-font.ttf");
  DisplayManager &display = DisplayManager::getInstance();
  EXPECT_EQ(display.startUp(), -1);
  EXPECT_FALSE(display.isStarted());
  EXPECT_EQ(log.count("DisplayManager::startUp(): Error! Unable to open font from file "
                      "'no-such-font.ttf'."),
            1);
  // A failed start leaves no window behind.
  EXPECT_EQ(display.getWindow(), nullptr);
}

TEST(DisplayWindowStartUp, ZeroPixelsTakeTheDesktopSize) {
  vxtest::LogCapture log;
  vx::Config::getInstance().loadConfig("headless:false,window_horizontal_pixels:0,"
                                       "window_vertical_pixels:600");
  DisplayManager &display = DisplayManager::getInstance();
  ASSERT_EQ(display.startUp(), 0);
  const unsigned desktop_width = sf::VideoMode::getDesktopMode().width;
  EXPECT_EQ(display.getHorizontalPixels(), static_cast<int>(desktop_width));
  EXPECT_EQ(display.getVerticalPixels(), 600);
  EXPECT_EQ(display.getWindow()->getSize(), sf::Vector2u(desktop_width, 600));
  EXPECT_FLOAT_EQ(vx::charWidth(), static_cast<float>(desktop_width) / 80.0f);
  display.shutDown();
}

TEST(DisplayWindowStartUp, NoDisplayIsRefusedInsteadOfAborting) {
  vxtest::LogCapture log;
  vxtest::ScopedEnv no_display("DISPLAY", "");
  vx::Config::getInstance().loadConfig(WINDOW_CONFIG);
  EXPECT_EQ(DisplayManager::getInstance().startUp(), -1);
  EXPECT_EQ(log.count("DisplayManager::startUp(): Error! No display (DISPLAY is not set)."), 1);
  EXPECT_FALSE(DisplayManager::getInstance().isStarted());
}

// A new window stands centred on the screen, so its last row of cells shows:
// what is drawn there is in a picture of the whole screen. (The window
// library alone puts a window of the default size 256 pixels low on this
// 1280 x 1024 screen, and a tall one partly below its edge.)
TEST(DisplayWindowPlacement, OpensCentredWithTheLastRowOnTheScreen) {
  const sf::VideoMode screen = sf::VideoMode::getDesktopMode();
  const struct { int width, height; } cases[] = {{1024, 768}, {640, 960}, {1200, 480}};
  for (const auto &c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    vxtest::LogCapture log;
    vx::Config::getInstance().loadConfig(
        "headless:false,window_horizontal_pixels:" + std::to_string(c.width) +
        ",window_vertical_pixels:" + std::to_string(c.height) + ",window_horizontal_chars:40,");
    DisplayManager &display = DisplayManager::getInstance();
    ASSERT_EQ(display.startUp(), 0);
    const sf::Vector2i corner = display.getWindow()->getPosition();
    EXPECT_EQ(corner.x, (static_cast<int>(screen.width) - c.width) / 2);
    EXPECT_EQ(corner.y, (static_cast<int>(screen.height) - c.height) / 2);
    ASSERT_EQ(display.drawString(Vector(0, 23), std::string(40, '#'), vx::JUSTIFY_LEFT, vx::RED), 0);
    ASSERT_EQ(display.swapBuffers(), 0);
    // The frame reaches the screen a little after it is shown.
    vxtest::TempDir dir;
    const std::string shot = dir.file("screen.png");
    int on_screen = 0;
    for (int tries = 0; tries < 50 && on_screen == 0; tries++) {
      sf::Image image;
      if (vxtest::runCommand("import -window root png:" + shot) && image.loadFromFile(shot))
        on_screen = countColor(image, sf::Color::Red, corner.x, corner.y + c.height * 23 / 24,
                               corner.x + c.width, corner.y + c.height);
    }
    EXPECT_GT(on_screen, 0) << "the last row is not on the screen";
    display.shutDown();
  }
}

// With the default window, cells are 12.8 pixels wide and the font scale asks
// for characters wider than that: the character size shrinks until a glyph
// fits its cell, so drawing the neighbour cell does not cut a character off.
TEST(DisplayDefaultWindow, NeighbouringCellsDoNotClipACharacter) {
  vxtest::LogCapture log;
  vx::Config::getInstance().loadConfig("headless:false");
  DisplayManager &display = DisplayManager::getInstance();
  ASSERT_EQ(display.startUp(), 0);
  ASSERT_EQ(display.swapBuffers(), 0);
  auto inkPixels = []() {
    const sf::Image image = backBuffer();
    int count = 0;
    for (unsigned y = 0; y < image.getSize().y; y++)
      for (unsigned x = 0; x < image.getSize().x; x++)
        count += image.getPixel(x, y).r > 64; // Glyph edges are anti-aliased.
    return count;
  };
  for (char c : std::string("WMmw@")) {
    display.swapBuffers();
    ASSERT_EQ(display.drawCh(Vector(10, 5), c, vx::WHITE), 0);
    const int alone = inkPixels();
    ASSERT_GT(alone, 20) << c;
    ASSERT_EQ(display.drawCh(Vector(11, 5), ' ', vx::WHITE), 0);
    ASSERT_EQ(display.drawCh(Vector(9, 5), ' ', vx::WHITE), 0);
    EXPECT_EQ(inkPixels(), alone) << "'" << c << "' lost pixels to its neighbours";
  }
  display.shutDown();
}
