// The display manager without a window: start-up checks, cell/pixel
// conversions, colours, and drawing refused when there is nothing to draw on.
#include <gtest/gtest.h>

#include <SFML/Graphics/Color.hpp>

#include <string>

#include "Config.h"
#include "DisplayManager.h"
#include "TestSupport.h"

using vx::Color;
using vx::DisplayManager;
using vx::Vector;

namespace {

// Starts the display manager headless with extra configuration entries.
int startHeadless(const std::string &extra_config = "") {
  vx::Config::getInstance().loadConfig("headless:true," + extra_config);
  return DisplayManager::getInstance().startUp();
}

void expectVector(Vector actual, float x, float y) {
  EXPECT_FLOAT_EQ(actual.getX(), x);
  EXPECT_FLOAT_EQ(actual.getY(), y);
}

} // namespace

TEST(DisplayManagerHeadless, StartsWithoutAWindowAndRefusesToDraw) {
  vxtest::LogCapture log;
  DisplayManager &display = DisplayManager::getInstance();
  EXPECT_EQ(display.getType(), "DisplayManager");

  ASSERT_EQ(startHeadless(), 0);
  EXPECT_TRUE(display.isStarted());
  EXPECT_EQ(display.getWindow(), nullptr);
  EXPECT_EQ(display.getHorizontal(), 80);
  EXPECT_EQ(display.getVertical(), 24);

  EXPECT_EQ(display.drawCh(Vector(1, 1), 'x', vx::RED), -1);
  EXPECT_EQ(display.drawCh(Vector(1, 1), 'x', 1, 2, 3, 45), -1);
  EXPECT_EQ(display.drawString(Vector(1, 1), "hello", vx::JUSTIFY_LEFT, vx::RED), -1);
  EXPECT_EQ(display.drawString(Vector(1, 1), "", vx::JUSTIFY_CENTER, vx::RED), -1);
  EXPECT_EQ(display.swapBuffers(), -1);
  EXPECT_FALSE(display.setBackgroundColor(vx::BLUE));

  display.shutDown();
  EXPECT_FALSE(display.isStarted());

  // The headless line and the success lines are written at levels the log
  // leaves out; refused drawing is silent.
  EXPECT_TRUE(log.messages().empty()) << log.messages().front();
}

TEST(DisplayManagerHeadless, StartingTwiceIsRefused) {
  vxtest::LogCapture log;
  ASSERT_EQ(startHeadless(), 0);
  EXPECT_EQ(DisplayManager::getInstance().startUp(), -1);
  EXPECT_EQ(log.count("DisplayManager::startup(): Warning! DisplayManager already started."), 1);
  EXPECT_TRUE(DisplayManager::getInstance().isStarted());
}

TEST(DisplayManagerHeadless, DrawingBeforeStartUpIsRefusedWithALogLine) {
  vxtest::LogCapture log;
  vx::Config::getInstance().loadConfig("headless:false");
  DisplayManager &display = DisplayManager::getInstance();

  EXPECT_EQ(display.drawCh(Vector(0, 0), 'a', vx::WHITE), -1);
  EXPECT_EQ(display.drawCh(Vector(0, 0), 'a', 9, 9, 9), -1);
  EXPECT_EQ(display.swapBuffers(), -1);
  EXPECT_EQ(log.count("DisplayManager not started!"), 3);

  // Refused before it looks at the string, even an empty one.
  EXPECT_EQ(display.drawString(Vector(0, 0), "", vx::JUSTIFY_LEFT, vx::WHITE), -1);
  EXPECT_EQ(log.count("DisplayManager not started!"), 4);
  for (const std::string &message : log.messages())
    EXPECT_EQ(message, "DisplayManager not started!");
}

TEST(DisplayManagerConversions, DefaultWindowCellIs12Point8By32Pixels) {
  vxtest::LogCapture log;
  ASSERT_EQ(startHeadless(), 0);
  EXPECT_FLOAT_EQ(vx::charWidth(), 12.8f);
  EXPECT_FLOAT_EQ(vx::charHeight(), 32.0f);
  expectVector(vx::spacesToPixels(Vector(10, 2)), 128, 64);
  expectVector(vx::pixelsToSpaces(Vector(128, 64)), 10, 2);
  expectVector(vx::spacesToPixels(Vector(-1.5f, 0.25f)), -19.2f, 8);
  expectVector(vx::pixelsToSpaces(Vector(6.4f, 16)), 0.5f, 0.5f);
  // Their trace lines are at a level the log leaves out.
  EXPECT_FALSE(log.contains("spacesToPixels"));
  EXPECT_FALSE(log.contains("pixelsToSpaces"));
}

TEST(DisplayManagerConversions, FollowTheConfiguredSizes) {
  vxtest::LogCapture log;
  ASSERT_EQ(startHeadless("window_horizontal_pixels:800,window_vertical_pixels:600,"
                          "window_horizontal_chars:40,window_vertical_chars:20"),
            0);
  EXPECT_EQ(DisplayManager::getInstance().getHorizontal(), 40);
  EXPECT_EQ(DisplayManager::getInstance().getVertical(), 20);
  EXPECT_EQ(DisplayManager::getInstance().getHorizontalPixels(), 800);
  EXPECT_EQ(DisplayManager::getInstance().getVerticalPixels(), 600);
  expectVector(vx::spacesToPixels(Vector(3, 4)), 60, 120);
  expectVector(vx::pixelsToSpaces(Vector(70, 45)), 3.5f, 1.5f);
}

TEST(DisplayManagerConversions, BeforeStartUpEverythingIsZeroRatherThanNotANumber) {
  EXPECT_EQ(vx::charWidth(), 0.0f);
  EXPECT_EQ(vx::charHeight(), 0.0f);
  expectVector(vx::spacesToPixels(Vector(10, 2)), 0, 0);
  expectVector(vx::pixelsToSpaces(Vector(128, 64)), 0, 0);
}

TEST(DisplayManagerStartUp, RefusesSizesThatCannotMakeACell) {
  struct Case {
    std::string config;
    std::string message;
  };
  const Case cases[] = {
      {"window_horizontal_chars:0",
       "DisplayManager::startUp(): Error! window_horizontal_chars is 0, must be at least 1."},
      {"window_vertical_chars:0",
       "DisplayManager::startUp(): Error! window_vertical_chars is 0, must be at least 1."},
      {"window_horizontal_chars:-3",
       "DisplayManager::startUp(): Error! window_horizontal_chars is -3, must be at least 1."},
      {"window_vertical_chars:-1",
       "DisplayManager::startUp(): Error! window_vertical_chars is -1, must be at least 1."},
      {"window_horizontal_pixels:-1024",
       "DisplayManager::startUp(): Error! window_horizontal_pixels is -1024, must be at least 0."},
      {"window_vertical_pixels:-1",
       "DisplayManager::startUp(): Error! window_vertical_pixels is -1, must be at least 0."},
      {"font_scale:0", "DisplayManager::startUp(): Error! font_scale is 0, must be more than 0."},
      {"font_scale:-2", "DisplayManager::startUp(): Error! font_scale is -2, must be more than 0."},
  };
  vxtest::LogCapture log;
  DisplayManager &display = DisplayManager::getInstance();
  for (const Case &c : cases) {
    SCOPED_TRACE(c.config);
    // Each case goes back to the defaults before its one bad setting.
    vx::Config::getInstance().loadConfig(
        "window_horizontal_pixels:1024,window_vertical_pixels:768,window_horizontal_chars:80,"
        "window_vertical_chars:24,font_scale:2.0");
    EXPECT_EQ(startHeadless(c.config), -1);
    EXPECT_FALSE(display.isStarted());
    EXPECT_EQ(log.count(c.message), 1);
  }
  EXPECT_EQ(static_cast<int>(log.messages().size()), 8);
}

TEST(DisplayManagerStartUp, ZeroPixelsIsNotRefused) {
  vxtest::LogCapture log;
  // 0 pixels stands for the desktop's size; without a window it stays 0.
  ASSERT_EQ(startHeadless("window_horizontal_pixels:0,window_vertical_pixels:0"), 0);
  EXPECT_EQ(vx::charWidth(), 0.0f);
  expectVector(vx::pixelsToSpaces(Vector(10, 10)), 0, 0);
  EXPECT_FALSE(log.contains("Error"));
}

TEST(DisplayManagerColors, RGBOfEveryEngineColor) {
  struct Case {
    Color color;
    unsigned char r, g, b;
    const char *name;
  };
  const Case cases[] = {
      {vx::BLACK, 0, 0, 0, "Black"},         {vx::RED, 255, 0, 0, "Red"},
      {vx::GREEN, 0, 255, 0, "Green"},       {vx::YELLOW, 255, 255, 0, "Yellow"},
      {vx::BLUE, 0, 0, 255, "Blue"},         {vx::MAGENTA, 255, 0, 255, "Magenta"},
      {vx::CYAN, 0, 255, 255, "Cyan"},       {vx::WHITE, 255, 255, 255, "White"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    unsigned char r = 7, g = 7, b = 7;
    vx::colorToRGB(c.color, r, g, b);
    EXPECT_EQ(r, c.r);
    EXPECT_EQ(g, c.g);
    EXPECT_EQ(b, c.b);
    EXPECT_EQ(vx::colorToSFML(c.color), sf::Color(c.r, c.g, c.b, 255));
    EXPECT_EQ(vx::colorToString(c.color), c.name);
  }
}

TEST(DisplayManagerColors, CustomAndUnsupportedColors) {
  vxtest::LogCapture log;
  const Color unsupported = static_cast<Color>(12);

  unsigned char r = 1, g = 2, b = 3;
  vx::colorToRGB(vx::CUSTOM, r, g, b);
  vx::colorToRGB(unsupported, r, g, b);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(g, 2);
  EXPECT_EQ(b, 3);

  EXPECT_EQ(vx::colorToSFML(vx::CUSTOM), sf::Color::White);
  EXPECT_EQ(vx::colorToSFML(unsupported), sf::Color::White);

  EXPECT_EQ(vx::colorToString(vx::CUSTOM), "Unknown color");
  EXPECT_EQ(vx::colorToString(unsupported), "Unknown color");

  // "colorToSFML(): Color is CUSTOM." and the not-supported lines are written
  // at a level above the log's, so none of them reaches the file.
  EXPECT_TRUE(log.messages().empty());
}
