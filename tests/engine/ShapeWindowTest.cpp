// Shapes drawn in a real window land at their cell in their colour.
#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>

#include "Config.h"
#include "DisplayManager.h"
#include "Shape.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

using vx::DisplayManager;
using vx::Shape;
using vx::Vector;

namespace {

using vxtest::backBuffer;
using vxtest::countColor;

// 800 x 480 pixels in cells of 20 x 20 pixels, cleared to black.
class ShapeWindow : public ::testing::Test {
 protected:
  vxtest::LogCapture m_log;

  void SetUp() override {
    vx::Config::getInstance().loadConfig(
        "headless:false,window_horizontal_pixels:800,window_vertical_pixels:480,"
        "window_horizontal_chars:40,window_vertical_chars:24,font_scale:2.0");
    ASSERT_EQ(DisplayManager::getInstance().startUp(), 0);
    ASSERT_EQ(DisplayManager::getInstance().swapBuffers(), 0);
  }

  void TearDown() override { DisplayManager::getInstance().shutDown(); }
};

} // namespace

TEST_F(ShapeWindow, RedCircleIsDrawnAtItsCell) {
  Shape shape;
  shape.setColor(vx::RED);
  shape.setSize(10);
  shape.draw(Vector(10, 10)); // Pixels (200, 200): the circle spans 195..215.
  const sf::Image image = backBuffer();
  EXPECT_EQ(image.getPixel(205, 205), sf::Color::Red);
  EXPECT_EQ(image.getPixel(197, 205), sf::Color::Red);
  EXPECT_EQ(image.getPixel(213, 205), sf::Color::Red);
  EXPECT_EQ(image.getPixel(190, 205), sf::Color::Black);
  EXPECT_EQ(image.getPixel(220, 205), sf::Color::Black);
  // Nothing red far from the shape; about the area of a decagon of radius 10.
  const int red = countColor(image, sf::Color::Red);
  EXPECT_GT(red, 250);
  EXPECT_LT(red, 330);
}

TEST_F(ShapeWindow, CustomColourAndOpacityAreUsedExactly) {
  Shape shape;
  shape.setColor(10, 20, 30);
  shape.setSize(10);
  shape.draw(Vector(5, 5));
  EXPECT_EQ(backBuffer().getPixel(105, 105), sf::Color(10, 20, 30));

  ASSERT_TRUE(DisplayManager::getInstance().setBackgroundColor(vx::WHITE));
  ASSERT_EQ(DisplayManager::getInstance().swapBuffers(), 0);
  shape.setColor(vx::BLUE);
  shape.setOpacity(0);
  shape.draw(Vector(5, 5));
  EXPECT_EQ(backBuffer().getPixel(105, 105), sf::Color::White);
  EXPECT_EQ(shape.getRed(), 0);
  EXPECT_EQ(shape.getBlue(), 255);
}

TEST_F(ShapeWindow, SquareAndTriangleAreDrawnNearTheirCell) {
  Shape square;
  square.setType(vx::SQUARE);
  square.setColor(vx::GREEN);
  square.setSize(20);
  square.draw(Vector(10, 10)); // Turned 45 degrees about (210, 188.6), radius 10.
  Shape triangle;
  triangle.setType(vx::TRIANGLE);
  triangle.setColor(vx::YELLOW);
  triangle.setSize(20);
  triangle.draw(Vector(20, 10)); // Radius 10: corners (400, 190), (391, 205), (409, 205).
  const sf::Image image = backBuffer();
  EXPECT_EQ(image.getPixel(210, 200), sf::Color::Green);
  EXPECT_EQ(image.getPixel(400, 200), sf::Color::Yellow);
  EXPECT_EQ(image.getPixel(393, 192), sf::Color::Black);
  EXPECT_EQ(image.getPixel(400, 185), sf::Color::Black);
}

TEST_F(ShapeWindow, UndefinedShapeDrawsNothing) {
  Shape shape;
  shape.setType(vx::UNDEFINED_SHAPE);
  shape.draw(Vector(10, 10));
  EXPECT_EQ(countColor(backBuffer(), sf::Color::Black), 800 * 480);
  EXPECT_TRUE(m_log.messages().empty());
}
