// Sprites: defaults, the frame capacity, frame lookup and drawing.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "Sprite.h"
#include "TestSupport.h"

namespace {

TEST(SpriteValue, Defaults) {
  const vx::Sprite sprite(3);
  EXPECT_EQ(sprite.getWidth(), 0);
  EXPECT_EQ(sprite.getHeight(), 0);
  EXPECT_EQ(sprite.getFrameCount(), 0);
  EXPECT_EQ(sprite.getColor(), vx::WHITE);
  EXPECT_EQ(sprite.getSlowdown(), 1);
  EXPECT_EQ(sprite.getTransparency(), 0);
  EXPECT_EQ(sprite.getLabel(), "[Undefined]");
}

TEST(SpriteFrames, AddFrameStopsAtTheMaximum) {
  vx::Sprite sprite(2);
  EXPECT_EQ(sprite.addFrame(vx::Frame(1, 1, "a")), 0);
  EXPECT_EQ(sprite.addFrame(vx::Frame(1, 1, "b")), 0);
  EXPECT_EQ(sprite.addFrame(vx::Frame(1, 1, "c")), -1);
  EXPECT_EQ(sprite.getFrameCount(), 2);
  EXPECT_EQ(sprite.getFrame(0).getString(), "a");
  EXPECT_EQ(sprite.getFrame(1).getString(), "b");

  vx::Sprite none(0);
  EXPECT_EQ(none.addFrame(vx::Frame(1, 1, "a")), -1);
  EXPECT_EQ(none.getFrameCount(), 0);
}

TEST(SpriteFrames, GetFrameOutOfRangeIsEmpty) {
  vx::Sprite sprite(2);
  ASSERT_EQ(sprite.addFrame(vx::Frame(2, 1, "ab")), 0);
  EXPECT_EQ(sprite.getFrame(1).getString(), "");
  EXPECT_EQ(sprite.getFrame(-1).getString(), "");
  EXPECT_EQ(sprite.getFrame(INT_MAX).getWidth(), 0);
  // The sprite keeps its own copy of the frame.
  vx::Frame copy = sprite.getFrame(0);
  copy.setString("zz");
  EXPECT_EQ(sprite.getFrame(0).getString(), "ab");
}

TEST(SpriteFrames, HugeMaximumCostsNothingUntilFramesArrive) {
  vxtest::LogCapture log;
  vx::Sprite sprite(INT_MAX);
  EXPECT_EQ(sprite.addFrame(vx::Frame(1, 1, "a")), 0);
  EXPECT_EQ(sprite.getFrameCount(), 1);
  EXPECT_TRUE(log.messages().empty());
}

TEST(SpriteFrames, NegativeMaximumIsAnError) {
  vxtest::LogCapture log;
  vx::Sprite sprite(-4);
  EXPECT_EQ(sprite.addFrame(vx::Frame(1, 1, "a")), -1);
  EXPECT_EQ(sprite.getFrameCount(), 0);
  EXPECT_EQ(log.messages(),
            std::vector<std::string>{"Sprite::Sprite(): Error! Unable to allocate -4 frames."});
}

TEST(SpriteDraw, OutOfRangeDrawsNothing) {
  vxtest::LogCapture log;
  vx::Sprite sprite(2);
  ASSERT_EQ(sprite.addFrame(vx::Frame(1, 1, "a")), 0);
  EXPECT_EQ(sprite.draw(1, vx::Vector(1, 1), 0, vx::NONE), 0);
  EXPECT_EQ(sprite.draw(-1, vx::Vector(1, 1), 0, vx::NONE), 0);
  // A real frame is drawn, which fails without a display.
  EXPECT_EQ(sprite.draw(0, vx::Vector(1, 1), 0, vx::NONE), -1);
  // The transparent character passed in is the one skipped.
  EXPECT_EQ(sprite.draw(0, vx::Vector(1, 1), 'a', vx::NONE), 0);
}

} // namespace
