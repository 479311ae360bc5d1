// Frames and transforms. The display is not started here, so every character
// drawn fails with "DisplayManager not started!": a draw that returns 0 drew
// nothing, and a failing draw stops at its first character.
#include <gtest/gtest.h>

#include <string>

#include "Frame.h"
#include "TestSupport.h"
#include "Transform.h"

namespace {

const vx::Vector HERE(10, 5);

TEST(FrameValue, DefaultIsEmpty) {
  const vx::Frame frame;
  EXPECT_EQ(frame.getWidth(), 0);
  EXPECT_EQ(frame.getHeight(), 0);
  EXPECT_EQ(frame.getString(), "");
}

TEST(FrameDraw, EmptyOrFlatFramesDrawNothing) {
  vxtest::LogCapture log;
  EXPECT_EQ(vx::Frame().draw(HERE, vx::WHITE, 0, vx::NONE), 0);
  EXPECT_EQ(vx::Frame(3, 0, "abc").draw(HERE, vx::WHITE, 0, vx::NONE), 0);
  EXPECT_EQ(vx::Frame(3, -1, "abc").draw(HERE, vx::WHITE, 0, vx::NONE), 0);
  EXPECT_EQ(vx::Frame(0, 1, "abc").draw(HERE, vx::WHITE, 0, vx::NONE), 0);
  EXPECT_TRUE(log.messages().empty());
}

TEST(FrameDraw, DrawingStopsAtTheFirstFailure) {
  vxtest::LogCapture log;
  EXPECT_EQ(vx::Frame(3, 2, "abcdef").draw(HERE, vx::RED, 0, vx::NONE), -1);
  EXPECT_EQ(vx::Frame(1, 1, " ").draw(HERE, vx::RED, 0, vx::BOTH), -1);
  EXPECT_EQ(log.count("DisplayManager not started!"), 2);
}

TEST(FrameDraw, TransparentCharactersAreNotDrawn) {
  vxtest::LogCapture log;
  // Only transparent characters: nothing is drawn, so nothing can fail.
  EXPECT_EQ(vx::Frame(3, 1, "###").draw(HERE, vx::WHITE, '#', vx::NONE), 0);
  EXPECT_EQ(vx::Frame(2, 2, "    ").draw(HERE, vx::WHITE, ' ', vx::VERTICAL), 0);
  EXPECT_EQ(log.count("not started"), 0);
  // One other character is drawn (and fails here).
  EXPECT_EQ(vx::Frame(3, 1, "#a#").draw(HERE, vx::WHITE, '#', vx::HORIZONTAL), -1);
  EXPECT_EQ(log.count("not started"), 1);
  // Without a transparent character even blanks are drawn.
  EXPECT_EQ(vx::Frame(3, 1, "###").draw(HERE, vx::WHITE, 0, vx::NONE), -1);
  EXPECT_EQ(vx::Frame(2, 2, "    ").draw(HERE, vx::WHITE, 0, vx::NONE), -1);
  EXPECT_EQ(log.count("not started"), 3);
}

TEST(FrameDraw, StringShorterThanTheFrameIsRefused) {
  vxtest::LogCapture log;
  // Transparent characters would otherwise draw nothing and succeed.
  EXPECT_EQ(vx::Frame(3, 2, "#####").draw(HERE, vx::WHITE, '#', vx::NONE), -1);
  EXPECT_EQ(vx::Frame(100000, 100000, "#").draw(HERE, vx::WHITE, '#', vx::BOTH), -1);
  EXPECT_EQ(log.count("Frame::draw(): Error! 5 characters for a 3 x 2 frame."), 1);
  EXPECT_EQ(log.count("Frame::draw(): Error! 1 characters for a 100000 x 100000 frame."), 1);
  // Characters beyond width x height are ignored.
  EXPECT_EQ(vx::Frame(2, 1, "##abc").draw(HERE, vx::WHITE, '#', vx::NONE), 0);
}

TEST(TransformName, DisplayNames) {
  EXPECT_STREQ(vx::transformToString(vx::NONE), "NONE");
  EXPECT_STREQ(vx::transformToString(vx::VERTICAL), "VERTICAL");
  EXPECT_STREQ(vx::transformToString(vx::HORIZONTAL), "HORIZONTAL");
  EXPECT_STREQ(vx::transformToString(vx::BOTH), "BOTH");
  EXPECT_STREQ(vx::transformToString(static_cast<vx::Transform>(4)), "UNKNOWN");
  EXPECT_STREQ(vx::transformToString(static_cast<vx::Transform>(-1)), "UNKNOWN");
  EXPECT_EQ(vx::NONE, 0);
  EXPECT_EQ(vx::VERTICAL, 1);
  EXPECT_EQ(vx::HORIZONTAL, 2);
  EXPECT_EQ(vx::BOTH, 3);
}

} // namespace
