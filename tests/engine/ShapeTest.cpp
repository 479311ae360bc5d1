// Shapes without a window: their settings, the polygon each type is drawn
// with, the log description and the byte form.
#include <gtest/gtest.h>

#include <cmath>

#include <sstream>
#include <string>

#include "Config.h"
#include "DisplayManager.h"
#include "Shape.h"
#include "TestSupport.h"

using vx::Shape;
using vx::ShapeOutline;
using vx::Vector;

namespace {

// Starts the display headless, so the cell size is the configured one.
void startHeadless(const std::string &extra_config = "") {
  vx::Config::getInstance().loadConfig("headless:true," + extra_config);
  ASSERT_EQ(vx::DisplayManager::getInstance().startUp(), 0);
}

void expectOutline(const ShapeOutline &outline, int points, float radius, float x, float y,
                   float rotation) {
  EXPECT_EQ(outline.point_count, points);
  EXPECT_FLOAT_EQ(outline.radius, radius);
  EXPECT_FLOAT_EQ(outline.x, x);
  EXPECT_FLOAT_EQ(outline.y, y);
  EXPECT_FLOAT_EQ(outline.rotation, rotation);
}

} // namespace

TEST(Shape, StartsAsAWhiteOpaqueCircleSizedToTheFont) {
  vxtest::LogCapture log;
  startHeadless();
  const Shape shape;
  EXPECT_EQ(shape.getType(), vx::CIRCLE);
  EXPECT_EQ(shape.getColor(), vx::WHITE);
  EXPECT_EQ(shape.getOpacity(), 255);
  // The whole pixels of the smaller cell side (12.8 -> 12) times the scale 2.
  EXPECT_FLOAT_EQ(shape.getSize(), 24.0f);
}

TEST(Shape, SizeFollowsTheCellAndTheFontScale) {
  vxtest::LogCapture log;
  startHeadless("window_horizontal_pixels:800,window_vertical_pixels:300,font_scale:1.5");
  // Cells of 10 x 12.5 pixels: 10 x 1.5.
  EXPECT_FLOAT_EQ(Shape().getSize(), 15.0f);
}

TEST(Shape, UnknownTypesAreRefused) {
  vxtest::LogCapture log;
  Shape shape;
  shape.setType(vx::TRIANGLE);
  shape.setType(5);
  EXPECT_EQ(shape.getType(), vx::TRIANGLE);
  shape.setType(-2);
  EXPECT_EQ(shape.getType(), vx::TRIANGLE);
  EXPECT_EQ(log.messages(), (std::vector<std::string>{
                                "Shape::setType(): Unknown shape type 5. Ignoring.",
                                "Shape::setType(): Unknown shape type -2. Ignoring.",
                            }));
  shape.setType(vx::UNDEFINED_SHAPE);
  EXPECT_EQ(shape.getType(), vx::UNDEFINED_SHAPE);
  shape.setType(vx::SQUARE);
  EXPECT_EQ(shape.getType(), vx::SQUARE);
  EXPECT_EQ(log.messages().size(), 2u);
}

TEST(Shape, ColoursAreEngineColoursOrCustomRGB) {
  Shape shape;
  shape.setColor(10, 20, 30);
  EXPECT_EQ(shape.getColor(), vx::CUSTOM);
  EXPECT_EQ(shape.getRed(), 10);
  EXPECT_EQ(shape.getGreen(), 20);
  EXPECT_EQ(shape.getBlue(), 30);

  shape.setColor(vx::RED);
  EXPECT_EQ(shape.getColor(), vx::RED);
  EXPECT_EQ(shape.getRed(), 255);
  EXPECT_EQ(shape.getGreen(), 0);
  EXPECT_EQ(shape.getBlue(), 0);

  shape.setOpacity(128);
  shape.setSize(7.5f);
  EXPECT_EQ(shape.getOpacity(), 128);
  EXPECT_FLOAT_EQ(shape.getSize(), 7.5f);
  for (float not_a_size : {NAN, INFINITY, -INFINITY})
    shape.setSize(not_a_size);
  EXPECT_FLOAT_EQ(shape.getSize(), 7.5f);
}

TEST(Shape, CirclePointCountFollowsTheSize) {
  Shape shape;
  const Vector at(100, 50);
  shape.setSize(2);
  expectOutline(shape.getOutline(at), 3, 2, 99, 49, 0);
  shape.setSize(3);
  EXPECT_EQ(shape.getOutline(at).point_count, 3);
  shape.setSize(7.5f);
  expectOutline(shape.getOutline(at), 7, 7.5f, 96.25f, 46.25f, 0);
  shape.setSize(10);
  EXPECT_EQ(shape.getOutline(at).point_count, 10);
  shape.setSize(24);
  expectOutline(shape.getOutline(at), 10, 24, 88, 38, 0);
}

TEST(Shape, SquaresAndTrianglesArePlacedAroundThePosition) {
  vxtest::LogCapture log;
  startHeadless();
  Shape shape;
  shape.setSize(14);
  shape.setType(vx::SQUARE);
  // A diamond turned to a square: radius scaled down by the font scale 2.
  expectOutline(shape.getOutline(Vector(100, 50)), 4, 7, 107, 42, 45);
  shape.setType(vx::TRIANGLE);
  expectOutline(shape.getOutline(Vector(100, 50)), 3, 7, 93, 43, 0);
  shape.setType(vx::UNDEFINED_SHAPE);
  EXPECT_EQ(shape.getOutline(Vector(100, 50)).point_count, 0);
}

TEST(Shape, DrawingWithoutAWindowDoesNothing) {
  vxtest::LogCapture log;
  startHeadless();
  Shape shape;
  shape.setColor(1, 2, 3);
  shape.draw(Vector(3, 3));
  EXPECT_EQ(shape.getColor(), vx::CUSTOM);
  EXPECT_EQ(shape.getRed(), 1);
  // Its note is written at a level the log leaves out.
  EXPECT_TRUE(log.messages().empty());
}

TEST(Shape, DescriptionForLogs) {
  Shape shape;
  shape.setSize(24);
  EXPECT_EQ(shape.toString(), "circle, size 24.000000, White, 255");
  shape.setType(vx::TRIANGLE);
  shape.setSize(2.5f);
  shape.setColor(9, 9, 9);
  shape.setOpacity(7);
  EXPECT_EQ(shape.toString(), "triangle, size 2.500000, Unknown color, 7");
  shape.setType(vx::UNDEFINED_SHAPE);
  EXPECT_EQ(shape.toString().rfind("undefined, ", 0), 0u);
  EXPECT_EQ(vx::shapeTypeToString(vx::SQUARE), "square");
  EXPECT_EQ(vx::shapeTypeToString(7), "undefined");
}

TEST(Shape, SerializesTypeSizeColourAndOpacityIn13Bytes) {
  vxtest::LogCapture log;
  Shape shape;
  shape.setType(vx::SQUARE);
  shape.setSize(1.0f);
  shape.setColor(vx::MAGENTA);
  shape.setOpacity(200);
  std::ostringstream out;
  ASSERT_EQ(shape.serialize(out), 0);
  const std::string bytes = out.str();
  // 1 (int32), 1.0f = 0x3f800000, 5 (int32), 200: all little-endian.
  const std::string expected("\x01\x00\x00\x00"
                             "\x00\x00\x80\x3f"
                             "\x05\x00\x00\x00"
                             "\xc8",
                             13);
  EXPECT_EQ(bytes, expected);

  Shape copy;
  copy.setColor(1, 2, 3);
  std::istringstream in(bytes);
  ASSERT_EQ(copy.deserialize(in), 0);
  EXPECT_EQ(copy.getType(), vx::SQUARE);
  EXPECT_FLOAT_EQ(copy.getSize(), 1.0f);
  EXPECT_EQ(copy.getColor(), vx::MAGENTA);
  EXPECT_EQ(copy.getOpacity(), 200);
  EXPECT_TRUE(log.messages().empty());
}

TEST(Shape, ATruncatedRecordLeavesTheShapeUnchanged) {
  vxtest::LogCapture log;
  Shape shape;
  shape.setType(vx::TRIANGLE);
  shape.setSize(3);
  std::ostringstream out;
  Shape other;
  other.setColor(vx::GREEN);
  other.serialize(out);
  std::istringstream in(out.str().substr(0, 12));
  EXPECT_EQ(shape.deserialize(in), -1);
  EXPECT_EQ(shape.getType(), vx::TRIANGLE);
  EXPECT_FLOAT_EQ(shape.getSize(), 3);
  EXPECT_EQ(shape.getColor(), vx::WHITE);
  EXPECT_EQ(log.count("Shape::deserialize(): Error! Stream eof."), 1);
}

TEST(Shape, ReceivedUnknownTypeAndColourAreRefused) {
  vxtest::LogCapture log;
  Shape shape;
  shape.setType(vx::TRIANGLE);
  shape.setColor(vx::BLUE);
  // Type 9, size 4.0f = 0x40800000, colour 99, opacity 10.
  std::istringstream in(std::string("\x09\x00\x00\x00"
                                    "\x00\x00\x80\x40"
                                    "\x63\x00\x00\x00"
                                    "\x0a",
                                    13));
  EXPECT_EQ(shape.deserialize(in), 0);
  EXPECT_EQ(shape.getType(), vx::TRIANGLE);
  EXPECT_EQ(shape.getColor(), vx::BLUE);
  EXPECT_FLOAT_EQ(shape.getSize(), 4);
  EXPECT_EQ(shape.getOpacity(), 10);
  EXPECT_EQ(log.messages(), (std::vector<std::string>{
                                "Shape::setType(): Unknown shape type 9. Ignoring.",
                                "Shape::deserialize(): Unknown color 99. Ignoring.",
                            }));
}
