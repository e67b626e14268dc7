#include <gtest/gtest.h>

#include <cstring>

#include "context/Currency.h"
#include "context/Errors.h"
#include "context/TextUtils.h"

using namespace tarno;

TEST(TextUtils, SubTextCutsPeriods) {
  struct Case {
    const char* text;
    int start;
    int length;
    const char* expected;
  };
  const Case cases[] = {
      {"202403", 1, 4, "2024"}, {"202403", 5, 2, "03"}, {"202403", 6, 5, "3"},
      {"ABCD", 5, 1, ""},       {"ABCD", 0, 2, "AB"},   {"", 1, 4, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SubText(c.text, c.start, c.length), QString(c.expected)) << c.text << " " << c.start;
}

TEST(TextUtils, ReplaceAllKeepsTheInputLength) {
  EXPECT_EQ(ReplaceAll("A/B\\C", "/", ""), "AB\\C");
  EXPECT_EQ(ReplaceAll("/", "/", ""), "/");  // a one-character text comes back unchanged
  EXPECT_EQ(ReplaceAll("AB", "B", "XYZ"), "AX");
  EXPECT_EQ(ReplaceAll("AAAA", "AA", "B"), "BB");  // no overlap
  EXPECT_EQ(ReplaceAll("ABC", "", "X"), "ABC");    // an empty find text never matches
  EXPECT_EQ(CleanCompanyName("A/B\\C Trading"), "ABC Trading");
}

TEST(TextUtils, BufferRoutines) {
  char buffer[32];
  std::strcpy(buffer, "202403");
  EXPECT_STREQ(MidText(buffer, 5, 2), "03");
  std::strcpy(buffer, "ABCD");
  EXPECT_STREQ(MidText(buffer, 5, 1), "");
  std::strcpy(buffer, "ABCDEF");
  EXPECT_STREQ(RightText(buffer, 2), "EF");
  EXPECT_STREQ(TruncateText(buffer, 3), "ABC");
  std::strcpy(buffer, "AB");
  EXPECT_STREQ(ReplaceTextInPlace(buffer, "B", "XYZ"), "AX");
}

TEST(TextUtils, Powers) {
  EXPECT_EQ(IntPower(10, 0), 1);
  EXPECT_EQ(PowerOfTen(2), 100);
  EXPECT_EQ(IntPower(-2, 3), -8);
}

TEST(TextUtils, IsNearZeroExcludesItsBounds) {
  EXPECT_FALSE(IsNearZero(1e-8L));
  EXPECT_TRUE(IsNearZero(0.99e-8L));
  EXPECT_FALSE(IsNearZero(-1e-8L));
}

TEST(TextUtils, RoundDecimalsRoundsHalfAwayFromZeroInTwoSteps) {
  struct Case {
    int decimals;
    double value;
    double expected;
  };
  const Case cases[] = {
      {2, 1.005, 1.01}, {2, 0.12495, 0.13}, {2, 0.1249, 0.12},  {0, 2.5, 3.0},      {0, -2.5, -3.0},
      {2, -0.004, 0.0}, {2, 50.005, 50.01}, {2, -1.005, -1.01}, {2, 33.333, 33.33}, {4, 1.23456, 1.2346},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(RoundDecimals(c.decimals, c.value), c.expected) << c.value;
  EXPECT_FALSE(std::signbit(RoundDecimals(2, -0.004)));  // 0, not -0
  EXPECT_THROW(RoundDecimals(2, std::numeric_limits<double>::infinity()), Error);
}

TEST(Currency, ConversionsRoundToTheNearestTenThousandth) {
  EXPECT_EQ(Currency::FromDouble(1.00005).Units(), 10001);
  EXPECT_EQ(Currency::FromDouble(-1.00005).Units(), -10001);
  EXPECT_EQ(Currency::FromDouble(0.1 + 0.2).Units(), 3000);
  EXPECT_EQ(Currency::FromString("-12.34").Units(), -123400);
  EXPECT_EQ(Currency::FromString("7").ToString(), "7.0000");
  EXPECT_EQ(Currency::FromUnits(-5).ToString(), "-0.0005");
  EXPECT_THROW(Currency::FromString("1.23456"), Error);
  EXPECT_THROW(Currency::FromString("abc"), Error);
  EXPECT_EQ(Currency::FromDouble(100.01) - Currency::FromDouble(50.01), Currency::FromDouble(50.0));
}
