// The engine's text utilities and its random source.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "TestSupport.h"
#include "utility.h"

TEST(Match, FindsValuesByExactKey) {
  EXPECT_EQ(vx::match("a:1,b:2", "b"), "2");
  EXPECT_EQ(vx::match("a:1,b:2", "c"), "");
  // Blanks are removed from the text but not from the key looked for.
  EXPECT_EQ(vx::match("a:1,b:2", "a "), "");
  EXPECT_EQ(vx::match("a :1", "a"), "1");
}

TEST(Match, KeysAndValuesSplitAtColons) {
  EXPECT_EQ(vx::match("a:1:2", "a"), "1");
  EXPECT_EQ(vx::match("a", "a"), "");
  EXPECT_EQ(vx::match(":x", "x"), "");
  EXPECT_EQ(vx::match(":x:7", "x"), "7");
}

TEST(Match, AnElementOfColonsEndsTheParsing) {
  EXPECT_EQ(vx::match("a:1,::,b:2", "b"), "");
  EXPECT_EQ(vx::match("a:1,::,b:2", "a"), "1");
}

TEST(Match, FirstKeyWinsAndEmptyElementsAreSkipped) {
  EXPECT_EQ(vx::match("a:1,a:2", "a"), "1");
  EXPECT_EQ(vx::match(",,a:1,,b:2,", "b"), "2");
  EXPECT_EQ(vx::match("", "a"), "");
  EXPECT_EQ(vx::match("", ""), "");
}

TEST(TimeString, IsTheLocalTimeOfDay) {
  std::string text = vx::getTimeString();
  ASSERT_EQ(text.size(), 8u);
  EXPECT_EQ(text[2], ':');
  EXPECT_EQ(text[5], ':');
  EXPECT_LE(std::atoi(text.substr(0, 2).c_str()), 23);
}

TEST(CheckStream, ReportsEndOfFileAndFailure) {
  vxtest::LogCapture log;
  std::istringstream in("ab");
  EXPECT_EQ(vx::checkStream("Reader::read()", in), 0);
  char buffer[4];
  in.read(buffer, 4);
  EXPECT_EQ(vx::checkStream("Reader::read()", in), -1);
  EXPECT_TRUE(log.contains("Reader::read(): Error! Stream eof."));

  std::istringstream number("x");
  int value;
  number >> value;
  EXPECT_EQ(vx::checkStream("Reader::number()", number), -1);
  EXPECT_TRUE(log.contains("Reader::number(): Error! Stream fail."));
}

TEST(NumberText, BinaryStringsHaveThirtyTwoBitsMostSignificantFirst) {
  EXPECT_EQ(vx::toBinaryString(0), std::string(32, '0'));
  EXPECT_EQ(vx::toBinaryString(UINT_MAX), std::string(32, '1'));
  EXPECT_EQ(vx::toBinaryString(5), std::string(29, '0') + "101");
  EXPECT_EQ(vx::toBinaryString(1u << 31), "1" + std::string(31, '0'));
}

TEST(NumberText, NumbersReadAsADefaultStreamWritesThem) {
  EXPECT_EQ(vx::toString(-42), "-42");
  EXPECT_EQ(vx::toString(2.5f), "2.5");
  EXPECT_EQ(vx::toString(10.0f), "10");
  EXPECT_EQ(vx::toString(1234567.0f), "1.23457e+06");
}

TEST(ValueInRange, IncludesBothEnds) {
  EXPECT_TRUE(vx::valueInRange(4, 0, 4));
  EXPECT_TRUE(vx::valueInRange(0, 0, 4));
  EXPECT_FALSE(vx::valueInRange(4.01f, 0, 4));
  EXPECT_FALSE(vx::valueInRange(-0.01f, 0, 4));
}

TEST(RandomInt, StaysWithinTheFifteenBitRangeAndFollowsTheSeed) {
  vx::seedRandom(7);
  int first = vx::randomInt();
  bool saw_high = false;
  for (int i = 0; i < 100000; i++) {
    int value = vx::randomInt();
    ASSERT_GE(value, 0);
    ASSERT_LE(value, vx::RANDOM_MAX);
    saw_high |= value > vx::RANDOM_MAX / 2;
  }
  EXPECT_TRUE(saw_high);
  vx::seedRandom(7);
  EXPECT_EQ(vx::randomInt(), first);
}

TEST(SineCosine, MatchesTheCLibraryToAFloatsPrecisionOverEveryFlyHeading) {
  // The headings a fly picks: 2 pi times a random fraction, and a few turns past.
  for (int r = 0; r <= vx::RANDOM_MAX; r += 7) {
    for (const float turns : {0.0f, -1.0f, 2.0f}) {
      const float angle = 2.0f * (static_cast<float>(r) / vx::RANDOM_MAX) * 3.14159f +
                          turns * 6.2831853f;
      float sine = 2, cosine = 2;
      vx::sineCosine(angle, sine, cosine);
      ASSERT_NEAR(sine, std::sin(angle), 1e-6f) << angle;
      ASSERT_NEAR(cosine, std::cos(angle), 1e-6f) << angle;
    }
  }
}
