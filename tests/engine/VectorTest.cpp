// The 2D vector value type: arithmetic, text form and byte encoding.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "TestSupport.h"
#include "Vector.h"

namespace {

std::string bytesOf(const vx::Vector &v) {
  std::ostringstream out;
  EXPECT_EQ(v.serialize(out), 0);
  return out.str();
}

} // namespace

TEST(VectorValue, DefaultIsOriginAndSettersChangeOnlyTheirCoordinate) {
  vx::Vector v;
  EXPECT_EQ(v.getX(), 0.0f);
  EXPECT_EQ(v.getY(), 0.0f);
  v.setX(3);
  EXPECT_EQ(v, vx::Vector(3, 0));
  v.setY(-4);
  EXPECT_EQ(v, vx::Vector(3, -4));
  v.setXY(0.5f, 7);
  EXPECT_EQ(v.getX(), 0.5f);
  EXPECT_EQ(v.getY(), 7.0f);
}

TEST(VectorValue, MagnitudeAndNormalize) {
  vx::Vector v(3, 4);
  EXPECT_FLOAT_EQ(v.getMagnitude(), 5.0f);
  v.normalize();
  EXPECT_FLOAT_EQ(v.getX(), 0.6f);
  EXPECT_FLOAT_EQ(v.getY(), 0.8f);
  EXPECT_FLOAT_EQ(v.getMagnitude(), 1.0f);

  vx::Vector negative(0, -2);
  negative.normalize();
  EXPECT_EQ(negative, vx::Vector(0, -1));

  // A zero vector stays zero rather than turning into NaNs.
  vx::Vector zero;
  zero.normalize();
  EXPECT_TRUE(zero.isZero());
  EXPECT_EQ(zero, vx::Vector(0, 0));
}

TEST(VectorValue, ScaleWorksInPlace) {
  vx::Vector v(2, -3);
  v.scale(2.5f);
  EXPECT_EQ(v, vx::Vector(5, -7.5f));
  v.scale(-1);
  EXPECT_EQ(v, vx::Vector(-5, 7.5f));
  v.scale(0);
  EXPECT_TRUE(v.isZero());
}

TEST(VectorValue, ArithmeticOperators) {
  const vx::Vector a(1, 2), b(0.5f, -4);
  EXPECT_EQ(a + b, vx::Vector(1.5f, -2));
  EXPECT_EQ(a - b, vx::Vector(0.5f, 6));
  EXPECT_EQ(b - a, vx::Vector(-0.5f, -6));
  // The operands are untouched.
  EXPECT_EQ(a, vx::Vector(1, 2));
  EXPECT_EQ(b, vx::Vector(0.5f, -4));

  vx::Vector c(1, 1);
  (c += a) += b;
  EXPECT_EQ(c, vx::Vector(2.5f, -1));
}

TEST(VectorValue, ComparisonIsExactOnBothCoordinates) {
  const vx::Vector v(1, 2);
  EXPECT_TRUE(v == vx::Vector(1, 2));
  EXPECT_FALSE(v != vx::Vector(1, 2));
  EXPECT_TRUE(v != vx::Vector(1, 2.0001f));
  EXPECT_TRUE(v != vx::Vector(1.0001f, 2));
  EXPECT_TRUE(v != vx::Vector(2, 1));
  EXPECT_FALSE(v == vx::Vector(2, 1));

  EXPECT_TRUE(vx::Vector(0, 0).isZero());
  EXPECT_TRUE(vx::Vector(-0.0f, 0).isZero());
  EXPECT_FALSE(vx::Vector(0, 1e-30f).isZero());
  EXPECT_FALSE(vx::Vector(-1e-30f, 0).isZero());
}

TEST(VectorText, UsesTheShortestDefaultFloatForm) {
  EXPECT_EQ(vx::Vector(2.5f, 10).toString(), "(2.5,10)");
  EXPECT_EQ(vx::Vector().toString(), "(0,0)");
  EXPECT_EQ(vx::Vector(-1, 0.1f).toString(), "(-1,0.1)");
  EXPECT_EQ(vx::Vector(1234567, -0.25f).toString(), "(1.23457e+06,-0.25)");
}

TEST(VectorSerialize, WritesEightLittleEndianBytes) {
  // 1.0f is 0x3f800000 and -2.0f is 0xc0000000.
  EXPECT_EQ(bytesOf(vx::Vector(1, -2)), std::string("\x00\x00\x80\x3f\x00\x00\x00\xc0", 8));
}

TEST(VectorSerialize, RoundTripsBackToBack) {
  vxtest::LogCapture log;
  const vx::Vector a(2.5f, -10), b(1e-7f, 123456.789f);
  std::stringstream stream;
  ASSERT_EQ(a.serialize(stream), 0);
  ASSERT_EQ(b.serialize(stream), 0);
  EXPECT_EQ(stream.str().size(), 16u);

  vx::Vector ra, rb;
  EXPECT_EQ(ra.deserialize(stream), 0);
  EXPECT_EQ(rb.deserialize(stream), 0);
  EXPECT_EQ(ra, a);
  EXPECT_EQ(rb, b);
  EXPECT_EQ(log.count("Error!"), 0);
}

TEST(VectorSerialize, ShortStreamFailsAndLeavesTheVectorAlone) {
  vxtest::LogCapture log;
  std::istringstream in(bytesOf(vx::Vector(5, 6)).substr(0, 7));
  vx::Vector v(-1, -1);
  EXPECT_EQ(v.deserialize(in), -1);
  EXPECT_EQ(v, vx::Vector(-1, -1));
  EXPECT_EQ(log.count("Vector::deserialize(): Error! Stream eof."), 1);
}

TEST(VectorSerialize, FailedOutputStreamIsReported) {
  vxtest::LogCapture log;
  std::ostringstream out;
  out.setstate(std::ios::failbit);
  EXPECT_EQ(vx::Vector(1, 1).serialize(out), -1);
  EXPECT_EQ(log.count("Vector::serialize(): Error! Stream fail."), 1);
}
