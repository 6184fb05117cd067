#include "schedule/text_to_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

struct CountdownCase {
  std::string text;
  double seconds;
  int64_t milliseconds;
};

// The countdown box as typed, through to the count handed to the wait.
TEST(TextToNumberTest, CountdownTextsGiveTheirWait) {
  const CountdownCase cases[] = {
      {"120", 120.0, 120000},
      {"   ", 0.0, 0},
      {"abc", 0.0, 0},
      {"0x10", 0.0, 0},
      {"inf", 0.0, 0},
      {"nan", 0.0, 0},
      {"-5", -5.0, -5000},
      {" 90", 90.0, 90000},
      {"\t\n\v\f\r90", 90.0, 90000},
      {"90s", 90.0, 90000},
      {"1,5", 1.0, 1000},
      {"1.5", 1.5, 1500},
      {"1.001", 1.001, 1000},
      {"0.0009", 0.0009, 0},
      {"1e3", 1000.0, 1000000},
      {"1d3", 1000.0, 1000000},
      {"1E3", 1000.0, 1000000},
      {"1D+3", 1000.0, 1000000},
      {"１２０", 120.0, 120000},
      {"　１．５", 1.5, 1500},
      {"１ｅ３", 1000.0, 1000000},
      {"12\xB9", 12.0, 12000},
      {"2147483.647", 2147483.647, 2147483647},
      {"2147483.648", 2147483.648, 2147483648},
      {"-2147483.649", -2147483.649, -2147483649},
      {"2592000", 2592000.0, 2592000000},  // 30 days
      {"1e999", kInfinity, kMax},
      {"-1e999", -kInfinity, kMin},
      {"1e-999", 0.0, 0},
  };
  for (const CountdownCase& c : cases) {
    const double seconds = TextToNumber(c.text);
    EXPECT_EQ(seconds, c.seconds) << c.text;
    EXPECT_EQ(SecondsToMilliseconds(seconds), c.milliseconds) << c.text;
  }
}

struct NumberCase {
  std::string text;
  double value;
};

TEST(TextToNumberTest, ReadsTheLongestNumberPrefix) {
  const NumberCase cases[] = {
      {"+7", 7.0},
      {".5", 0.5},
      {"5.", 5.0},
      {".", 0.0},
      {"+", 0.0},
      {"+-1", 0.0},
      {"- 5", 0.0},
      {"1.2.3", 1.2},
      {"007", 7.0},
      // An exponent letter without digits ends the number before it.
      {"1e", 1.0},
      {"1e+", 1.0},
      {"1dx", 1.0},
      {"2E-1x", 0.2},
      {"1e3e4", 1000.0},
      {".5e1", 5.0},
      // The comma is never a decimal point.
      {"0,5", 0.0},
      {"\x81"
       "1",
       0.0},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(TextToNumber(c.text), c.value) << c.text;
  }
  EXPECT_TRUE(std::signbit(TextToNumber("-0")));
}

// The value is the double nearest to the decimal, not a digit-by-digit sum.
TEST(TextToNumberTest, RoundsCorrectly) {
  EXPECT_EQ(TextToNumber("0.1"), 0.1);
  EXPECT_EQ(TextToNumber("123456789012345678901234567890"), 123456789012345678901234567890.0);
  EXPECT_EQ(TextToNumber("2.2250738585072011e-308"), 2.2250738585072011e-308);
  EXPECT_EQ(TextToNumber("1.7976931348623157e308"), std::numeric_limits<double>::max());
  EXPECT_EQ(TextToNumber("4.9406564584124654e-324"), std::numeric_limits<double>::denorm_min());
}

TEST(TextToNumberTest, OutOfRangeByTheFirstSignificantDigit) {
  const NumberCase cases[] = {
      {"1.8e308", kInfinity},
      {"0.00001e309", 1e304},
      {"1000e-310", 1e-307},
      {"0.0001e-330", 0.0},
      {"18000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000",
       kInfinity},
      {"1e99999999999999999999999", kInfinity},
      {"-1e-99999999999999999999999", -0.0},
  };
  for (const NumberCase& c : cases) {
    const double value = TextToNumber(c.text);
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(std::signbit(value), std::signbit(c.value)) << c.text;
  }
}

struct MillisecondCase {
  double seconds;
  int64_t milliseconds;
};

TEST(SecondsToMillisecondsTest, TruncatesTowardZeroAndSaturates) {
  const MillisecondCase cases[] = {
      {0.0, 0},
      {1.0009, 1000},
      {-1.0009, -1000},
      {-0.0009, 0},
      {std::nan(""), 0},
      {kInfinity, kMax},
      {-kInfinity, kMin},
      {9.2e15, 9200000000000000000},
      // Products that round to 2^63 or beyond do not fit.
      {9223372036854775.807, kMax},
      {-9223372036854775.808, kMin},
      {1e300, kMax},
      {-1e300, kMin},
  };
  for (const MillisecondCase& c : cases) {
    EXPECT_EQ(SecondsToMilliseconds(c.seconds), c.milliseconds) << c.seconds;
  }
}

}  // namespace
