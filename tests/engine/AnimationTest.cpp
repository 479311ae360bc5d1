// Animations: binding to a sprite, stepping through frames, the box, the text
// form and the byte encoding.
#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

#include "Animation.h"
#include "Sprite.h"
#include "TestSupport.h"

namespace {

// A sprite of `frames` one-character frames "0", "1", ...
void fill(vx::Sprite &sprite, int frames, int slowdown) {
  sprite.setWidth(1);
  sprite.setHeight(1);
  sprite.setSlowdown(slowdown);
  sprite.setLabel("digits");
  for (int i = 0; i < frames; i++)
    ASSERT_EQ(sprite.addFrame(vx::Frame(1, 1, std::to_string(i))), 0);
}

// The frame index shown by each of `draws` draws.
std::vector<int> shown(vx::Animation &animation, int draws) {
  std::vector<int> indexes;
  for (int i = 0; i < draws; i++) {
    indexes.push_back(animation.getIndex());
    animation.draw(vx::Vector(5, 5));
  }
  return indexes;
}

TEST(AnimationValue, Defaults) {
  const vx::Animation animation;
  EXPECT_EQ(animation.getSprite(), nullptr);
  EXPECT_EQ(animation.getName(), "");
  EXPECT_EQ(animation.getIndex(), 0);
  EXPECT_EQ(animation.getSlowdownCount(), 0);
  EXPECT_EQ(animation.getTransform(), vx::NONE);
  EXPECT_TRUE(animation.isChanged());
}

TEST(AnimationValue, SetSpriteRestartsAndTakesTheLabel) {
  vx::Sprite sprite(3);
  fill(sprite, 3, 2);
  vx::Animation animation;
  animation.setIndex(2);
  animation.setSlowdownCount(1);
  animation.setChanged(false);
  animation.setSprite(&sprite);
  EXPECT_EQ(animation.getSprite(), &sprite);
  EXPECT_EQ(animation.getName(), "digits");
  EXPECT_EQ(animation.getIndex(), 0);
  EXPECT_EQ(animation.getSlowdownCount(), 0);
  EXPECT_TRUE(animation.isChanged());

  // A null sprite keeps the name, so the sprite can be found again.
  animation.setIndex(1);
  animation.setChanged(false);
  animation.setSprite(nullptr);
  EXPECT_EQ(animation.getSprite(), nullptr);
  EXPECT_EQ(animation.getName(), "digits");
  EXPECT_EQ(animation.getIndex(), 0);
  EXPECT_TRUE(animation.isChanged());
}

TEST(AnimationValue, SettersMarkChangesOnlyForNewValues) {
  vx::Animation animation;
  animation.setChanged(false);
  animation.setIndex(0);
  animation.setSlowdownCount(0);
  animation.setTransform(vx::NONE);
  EXPECT_FALSE(animation.isChanged());
  animation.setIndex(2);
  EXPECT_TRUE(animation.isChanged());
  animation.setChanged(false);
  animation.setSlowdownCount(-1);
  EXPECT_TRUE(animation.isChanged());
  animation.setChanged(false);
  animation.setTransform(vx::HORIZONTAL);
  EXPECT_TRUE(animation.isChanged());
  EXPECT_EQ(animation.getIndex(), 2);
  EXPECT_EQ(animation.getSlowdownCount(), -1);
  EXPECT_EQ(animation.getTransform(), vx::HORIZONTAL);
}

TEST(AnimationDraw, WithoutASpriteNothingHappens) {
  vx::Animation animation;
  animation.setChanged(false);
  EXPECT_EQ(animation.draw(vx::Vector(1, 1)), 0);
  EXPECT_EQ(animation.getIndex(), 0);
  EXPECT_EQ(animation.getSlowdownCount(), 0);
  EXPECT_FALSE(animation.isChanged());
}

TEST(AnimationDraw, EachFrameIsShownForTheSlowdown) {
  vx::Sprite sprite(3);
  fill(sprite, 3, 2);
  vx::Animation animation;
  animation.setSprite(&sprite);
  EXPECT_EQ(shown(animation, 7), (std::vector<int>{0, 0, 1, 1, 2, 2, 0}));
}

TEST(AnimationDraw, SlowdownZeroOrOneChangesFrameOnEveryDraw) {
  for (int slowdown : {0, 1, -5}) {
    vx::Sprite sprite(3);
    fill(sprite, 3, slowdown);
    vx::Animation animation;
    animation.setSprite(&sprite);
    EXPECT_EQ(shown(animation, 5), (std::vector<int>{0, 1, 2, 0, 1})) << slowdown;
    EXPECT_EQ(animation.getSlowdownCount(), 0);
  }
}

TEST(AnimationDraw, AdvancesEvenWhenDrawingFailsAndReportsTheFailure) {
  vxtest::LogCapture log;
  vx::Sprite sprite(2);
  fill(sprite, 2, 3);
  vx::Animation animation;
  animation.setSprite(&sprite);
  animation.setChanged(false);
  EXPECT_EQ(animation.draw(vx::Vector(1, 1)), -1); // No display here.
  EXPECT_EQ(animation.getSlowdownCount(), 1);
  EXPECT_TRUE(animation.isChanged());
}

TEST(AnimationDraw, FrozenAnimationStaysOnItsFrame) {
  vx::Sprite sprite(3);
  fill(sprite, 3, 1);
  vx::Animation animation;
  animation.setSprite(&sprite);
  animation.setIndex(1);
  animation.setSlowdownCount(-1);
  animation.setChanged(false);
  EXPECT_EQ(shown(animation, 4), (std::vector<int>{1, 1, 1, 1}));
  EXPECT_EQ(animation.getSlowdownCount(), -1);
  EXPECT_FALSE(animation.isChanged());
}

TEST(AnimationDraw, IndexOutOfRangeStartsOverAndExtremeCountsDoNotOverflow) {
  vx::Sprite sprite(2);
  fill(sprite, 2, 1);
  vx::Animation animation;
  animation.setSprite(&sprite);
  animation.setIndex(7);
  EXPECT_EQ(shown(animation, 3), (std::vector<int>{7, 0, 1}));
  animation.setIndex(INT_MAX);
  animation.draw(vx::Vector(0, 0));
  EXPECT_EQ(animation.getIndex(), 0);

  sprite.setSlowdown(INT_MAX);
  animation.setSlowdownCount(INT_MAX - 1);
  animation.draw(vx::Vector(0, 0));
  EXPECT_EQ(animation.getSlowdownCount(), 0);
  EXPECT_EQ(animation.getIndex(), 1);
  sprite.setSlowdown(INT_MIN);
  animation.setSlowdownCount(INT_MAX);
  animation.draw(vx::Vector(0, 0));
  EXPECT_EQ(animation.getSlowdownCount(), 0);
  EXPECT_EQ(animation.getIndex(), 0);
}

TEST(AnimationDraw, SpriteWithoutFramesStaysAtZero) {
  vx::Sprite sprite(0);
  vx::Animation animation;
  animation.setSprite(&sprite);
  EXPECT_EQ(animation.draw(vx::Vector(0, 0)), 0);
  EXPECT_EQ(shown(animation, 3), (std::vector<int>{0, 0, 0}));
}

TEST(AnimationBox, CentredOnTheSpriteOrJustUnderACell) {
  vx::Animation animation;
  EXPECT_EQ(animation.getBox(), vx::Box(vx::Vector(-0.5f, -0.5f), 0.99f, 0.99f));
  vx::Sprite sprite(1);
  sprite.setWidth(4);
  sprite.setHeight(2);
  animation.setSprite(&sprite);
  EXPECT_EQ(animation.getBox(), vx::Box(vx::Vector(-2, -1), 4, 2));
  sprite.setWidth(5);
  sprite.setHeight(3);
  EXPECT_EQ(animation.getBox(), vx::Box(vx::Vector(-2.5f, -1.5f), 5, 3));
}

TEST(AnimationText, Description) {
  vx::Sprite sprite(1);
  sprite.setLabel("fly");
  vx::Animation animation;
  EXPECT_EQ(animation.toString(), "sprite , frame_idx 0, slowdown_count 0, transform NONE");
  animation.setSprite(&sprite);
  animation.setIndex(3);
  animation.setSlowdownCount(-1);
  animation.setTransform(vx::BOTH);
  EXPECT_EQ(animation.toString(), "sprite fly, frame_idx 3, slowdown_count -1, transform BOTH");
  animation.setTransform(static_cast<vx::Transform>(9));
  EXPECT_EQ(animation.toString(), "sprite fly, frame_idx 3, slowdown_count -1, transform UNKNOWN");
}

TEST(AnimationSerialize, NameThenThreeIntegers) {
  vxtest::LogCapture log;
  vx::Sprite sprite(1);
  sprite.setLabel("fly");
  vx::Animation animation;
  animation.setSprite(&sprite);
  animation.setIndex(2);
  animation.setSlowdownCount(-1);
  animation.setTransform(vx::VERTICAL);
  std::stringstream stream;
  ASSERT_EQ(animation.serialize(stream), 0);
  EXPECT_EQ(stream.str(), std::string("\x03\0\0\0\0\0\0\0fly"
                                      "\x02\0\0\0"
                                      "\xff\xff\xff\xff"
                                      "\x01\0\0\0",
                                      8 + 3 + 12));

  vx::Animation read;
  read.setChanged(false);
  ASSERT_EQ(read.deserialize(stream), 0);
  EXPECT_EQ(read.getName(), "fly");
  EXPECT_EQ(read.getSprite(), nullptr); // Pointers do not travel.
  EXPECT_EQ(read.getIndex(), 2);
  EXPECT_EQ(read.getSlowdownCount(), -1);
  EXPECT_EQ(read.getTransform(), vx::VERTICAL);
  EXPECT_TRUE(read.isChanged());
  EXPECT_TRUE(log.messages().empty());
}

TEST(AnimationSerialize, ShortStreamFailsAndKeepsTheAnimation) {
  vxtest::LogCapture log;
  vx::Animation animation;
  animation.setIndex(4);
  std::stringstream whole;
  ASSERT_EQ(animation.serialize(whole), 0);
  const std::string bytes = whole.str();

  vx::Sprite sprite(1);
  for (std::size_t cut = 0; cut < bytes.size(); cut++) {
    vx::Animation read;
    read.setSprite(&sprite);
    std::stringstream stream(bytes.substr(0, cut));
    EXPECT_EQ(read.deserialize(stream), -1) << cut;
    EXPECT_EQ(read.getSprite(), &sprite);
    EXPECT_EQ(read.getIndex(), 0);
  }
  EXPECT_EQ(log.count("Animation::deserialize(): Error! Stream eof."), static_cast<int>(bytes.size()));
}

TEST(AnimationSerialize, CorruptNameLengthDoesNotAllocateIt) {
  vxtest::LogCapture log;
  // A name claiming 2^62 bytes followed by a few.
  std::stringstream stream(std::string("\0\0\0\0\0\0\0\x40" "abcdef", 14));
  vx::Animation read;
  EXPECT_EQ(read.deserialize(stream), -1);
  EXPECT_EQ(read.getName(), "");
  EXPECT_EQ(log.count("Animation::deserialize(): Error! Stream eof."), 1);
}

} // namespace
