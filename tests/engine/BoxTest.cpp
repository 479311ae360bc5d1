// The box value type: accessors, text form and byte encoding.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "Box.h"
#include "TestSupport.h"

TEST(BoxValue, DefaultAndAccessors) {
  vx::Box box;
  EXPECT_EQ(box.getCorner(), vx::Vector(0, 0));
  EXPECT_EQ(box.getHorizontal(), 0.0f);
  EXPECT_EQ(box.getVertical(), 0.0f);

  box.setCorner(vx::Vector(-1, 2));
  box.setHorizontal(3.5f);
  box.setVertical(-4); // Negative extents are kept as given.
  EXPECT_EQ(box.getCorner(), vx::Vector(-1, 2));
  EXPECT_EQ(box.getHorizontal(), 3.5f);
  EXPECT_EQ(box.getVertical(), -4.0f);
  EXPECT_EQ(box, vx::Box(vx::Vector(-1, 2), 3.5f, -4));
}

TEST(BoxValue, EqualityComparesCornerAndBothExtents) {
  const vx::Box box(vx::Vector(1, 2), 3, 4);
  EXPECT_TRUE(box == vx::Box(vx::Vector(1, 2), 3, 4));
  EXPECT_FALSE(box == vx::Box(vx::Vector(1, 2.5f), 3, 4));
  EXPECT_FALSE(box == vx::Box(vx::Vector(1, 2), 4, 4));
  EXPECT_FALSE(box == vx::Box(vx::Vector(1, 2), 3, 3));
  // Swapped extents are a different box.
  EXPECT_TRUE(box != vx::Box(vx::Vector(1, 2), 4, 3));
}

TEST(BoxText, CornerThenExtents) {
  EXPECT_EQ(vx::Box(vx::Vector(1, 2), 3, 4.5f).toString(), "(1,2) h: 3 v: 4.5");
  EXPECT_EQ(vx::Box().toString(), "(0,0) h: 0 v: 0");
  EXPECT_EQ(vx::Box(vx::Vector(-0.5f, 0), 1234567, 0.1f).toString(), "(-0.5,0) h: 1.23457e+06 v: 0.1");
}

TEST(BoxSerialize, WritesSixteenBytesAndRoundTrips) {
  vxtest::LogCapture log;
  const vx::Box box(vx::Vector(1, 2), 3, 4);
  std::stringstream stream;
  ASSERT_EQ(box.serialize(stream), 0);
  // 1, 2, 3 and 4 as little-endian floats: 0x3f800000, 0x40000000, 0x40400000, 0x40800000.
  EXPECT_EQ(stream.str(), std::string("\x00\x00\x80\x3f\x00\x00\x00\x40"
                                      "\x00\x00\x40\x40\x00\x00\x80\x40", 16));

  vx::Box read;
  EXPECT_EQ(read.deserialize(stream), 0);
  EXPECT_EQ(read, box);
  EXPECT_EQ(log.count("Error!"), 0);
}

TEST(BoxSerialize, ShortStreamFailsWithTheEofLineAndKeepsTheBox) {
  vxtest::LogCapture log;
  std::ostringstream out;
  ASSERT_EQ(vx::Box(vx::Vector(9, 9), 9, 9).serialize(out), 0);
  std::istringstream in(out.str().substr(0, 15));

  const vx::Box before(vx::Vector(1, 2), 3, 4);
  vx::Box box = before;
  EXPECT_EQ(box.deserialize(in), -1);
  EXPECT_EQ(box, before);
  EXPECT_EQ(log.messages(), std::vector<std::string>{"Box::deserialize(): Error! Stream eof."});
}

TEST(BoxSerialize, EmptyStreamAndFailedOutputAreReported) {
  vxtest::LogCapture log;
  std::istringstream empty;
  vx::Box box;
  EXPECT_EQ(box.deserialize(empty), -1);
  EXPECT_EQ(log.count("Box::deserialize(): Error! Stream eof."), 1);

  std::ostringstream out;
  out.setstate(std::ios::failbit);
  EXPECT_EQ(box.serialize(out), -1);
  EXPECT_EQ(log.count("Box::serialize(): Error! Stream fail."), 1);
}
