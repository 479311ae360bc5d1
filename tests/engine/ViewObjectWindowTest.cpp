// View objects drawn in a real window: the label and value, the frame around
// them, and their place on the screen whatever part of the world is in view.
#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>

#include <set>

#include "Box.h"
#include "Config.h"
#include "DisplayManager.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "ViewObject.h"
#include "WorldManager.h"

using vx::Vector;
using vx::ViewObject;

namespace {

using vxtest::backBuffer;
using vxtest::countColor;

// 800 x 480 pixels in 40 x 24 cells of 20 x 20 pixels, with characters of
// 20 pixels, so a glyph stays inside its own cell.
const char *const WINDOW_CONFIG =
    "headless:false,window_horizontal_pixels:800,window_vertical_pixels:480,"
    "window_horizontal_chars:40,window_vertical_chars:24,font_scale:1.0,networking:false,";
const int CELL = 20;
const int COLUMNS = 40;

class ViewObjectWindow : public ::testing::Test {
 protected:
  vxtest::LogCapture m_log;

  void SetUp() override {
    vx::Config::getInstance().loadConfig(WINDOW_CONFIG);
    ASSERT_EQ(vx::DisplayManager::getInstance().startUp(), 0);
    ASSERT_NE(vx::DisplayManager::getInstance().getWindow(), nullptr);
    ASSERT_EQ(vx::WorldManager::getInstance().startUp(), 0);
    vx::WorldManager::getInstance().setView(vx::Box(Vector(0, 0), 40, 24));
    ASSERT_EQ(vx::DisplayManager::getInstance().swapBuffers(), 0);
  }

  void TearDown() override {
    if (IsSkipped())
      return;
    vx::WorldManager::getInstance().shutDown();
    vx::DisplayManager::getInstance().shutDown();
  }

  // The columns of a row of cells that hold pixels of the colour.
  static std::set<int> columnsWith(const sf::Image &image, sf::Color color, int row) {
    std::set<int> columns;
    for (int column = 0; column < COLUMNS; column++)
      for (int y = row * CELL; y < (row + 1) * CELL; y++)
        for (int x = column * CELL; x < (column + 1) * CELL; x++)
          if (image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)) == color)
            columns.insert(column);
    return columns;
  }

  static std::set<int> range(int first, int last) {
    std::set<int> columns;
    for (int column = first; column <= last; column++)
      columns.insert(column);
    return columns;
  }

  static ViewObject *streak() {
    ViewObject *p_view = new ViewObject;
    p_view->setViewString("Streak");
    p_view->setValue(4);
    p_view->setColor(vx::RED);
    p_view->setPosition(Vector(20, 5));
    return p_view;
  }
};

} // namespace

TEST_F(ViewObjectWindow, FramedLabelAndValue) {
  ViewObject *p_view = streak();
  EXPECT_EQ(p_view->draw(), 0);
  const sf::Image image = backBuffer();

  // " Streak 4 " is 10 cells, 15 to 24; its blanks show nothing.
  const std::set<int> text = {16, 17, 18, 19, 20, 21, 23};
  std::set<int> with_bars = text;
  with_bars.insert(14);
  with_bars.insert(25);
  EXPECT_EQ(columnsWith(image, sf::Color::Red, 5), with_bars);
  EXPECT_EQ(columnsWith(image, sf::Color::Red, 4), range(15, 24));
  // The bars' glyphs reach down into the row below; the line is there in full.
  const std::set<int> below = columnsWith(image, sf::Color::Red, 6);
  for (int column : range(15, 24))
    EXPECT_EQ(below.count(column), 1u) << "column " << column;
  for (int column : below)
    EXPECT_TRUE(column >= 14 && column <= 25) << "column " << column;
  EXPECT_TRUE(columnsWith(image, sf::Color::Red, 3).empty());
  EXPECT_TRUE(columnsWith(image, sf::Color::Red, 7).empty());
}

TEST_F(ViewObjectWindow, WithoutBorderOrValue) {
  ViewObject *p_view = streak();
  p_view->setBorder(false);
  p_view->setDrawValue(false);
  EXPECT_EQ(p_view->draw(), 0);
  const sf::Image image = backBuffer();
  // "Streak" is 6 cells, 17 to 22, on its row alone.
  EXPECT_EQ(columnsWith(image, sf::Color::Red, 5), range(17, 22));
  EXPECT_TRUE(columnsWith(image, sf::Color::Red, 4).empty());
  EXPECT_TRUE(columnsWith(image, sf::Color::Red, 6).empty());
}

TEST_F(ViewObjectWindow, StaysOnScreenWhenTheViewScrolls) {
  vx::WorldManager::getInstance().setView(vx::Box(Vector(100, 30), 40, 24));
  ViewObject *p_view = streak();
  p_view->setBorder(false);
  EXPECT_EQ(p_view->draw(), 0);
  // "Streak 4": 8 cells, 16 to 23, the blank at 22.
  EXPECT_EQ(columnsWith(backBuffer(), sf::Color::Red, 5),
            (std::set<int>{16, 17, 18, 19, 20, 21, 23}));
}
