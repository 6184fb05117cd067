#include "schedule/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

std::ostream& operator<<(std::ostream& out, const CivilDateTime& c) {
  return out << c.year << '-' << c.month << '-' << c.day << ' ' << c.hour << ':' << c.minute << ':'
             << c.second;
}

namespace {

struct RoundTripCase {
  CivilDateTime civil;
  DateTime value;
};

TEST(DateTimeTest, CivilAndValueRoundTrip) {
  const RoundTripCase cases[] = {
      {{2024, 5, 10, 16, 30, 0}, 45422.6875}, {{1899, 12, 30, 0, 0, 0}, 0.0},
      {{1899, 12, 30, 12, 0, 0}, 0.5},        {{1900, 1, 1, 0, 0, 0}, 2.0},
      {{1899, 12, 29, 0, 0, 0}, -1.0},        {{1899, 12, 29, 6, 0, 0}, -1.25},
      {{1800, 1, 1, 12, 0, 0}, -36522.5},     {{100, 1, 1, 0, 0, 0}, EarliestDateTime},
      {{9999, 12, 31, 0, 0, 0}, 2958465.0},
  };
  for (const RoundTripCase& c : cases) {
    EXPECT_EQ(DateTimeFromCivil(c.civil), c.value) << c.civil;
    EXPECT_EQ(CivilFromDateTime(c.value), c.civil) << c.value;
  }
}

// Every second of a day after and of a day before 1899-12-30 comes back as it went in.
TEST(DateTimeTest, EverySecondOfADayRoundTrips) {
  for (const CivilDateTime day : {CivilDateTime{2024, 2, 29, 0, 0, 0}, {1850, 7, 4, 0, 0, 0}}) {
    for (int second = 0; second < 86400; ++second) {
      const CivilDateTime civil{day.year,      day.month,        day.day,
                                second / 3600, second / 60 % 60, second % 60};
      ASSERT_EQ(CivilFromDateTime(DateTimeFromCivil(civil)), civil);
    }
  }
}

TEST(DateTimeTest, ValueRoundsToTheNearestSecond) {
  const double second = 1.0 / 86400.0;
  EXPECT_EQ(CivilFromDateTime(45422.6875 + 0.4 * second), (CivilDateTime{2024, 5, 10, 16, 30, 0}));
  EXPECT_EQ(CivilFromDateTime(45422.6875 + 0.6 * second), (CivilDateTime{2024, 5, 10, 16, 30, 1}));
  EXPECT_EQ(CivilFromDateTime(45422.0 + 86399.6 * second), (CivilDateTime{2024, 5, 11, 0, 0, 0}));
  // Before the epoch the fraction still counts forwards, so rounding up the
  // last second of 1899-12-29 lands on 1899-12-30.
  EXPECT_EQ(CivilFromDateTime(-1.0 - 86399.6 * second), (CivilDateTime{1899, 12, 30, 0, 0, 0}));
  EXPECT_EQ(CivilFromDateTime(-0.25), (CivilDateTime{1899, 12, 30, 6, 0, 0}));
}

TEST(DateTimeTest, ValuesOutsideTheRangeAreClamped) {
  EXPECT_EQ(CivilFromDateTime(std::nan("")), (CivilDateTime{100, 1, 1, 0, 0, 0}));
  EXPECT_EQ(CivilFromDateTime(-1e9), (CivilDateTime{100, 1, 1, 0, 0, 0}));
  EXPECT_EQ(CivilFromDateTime(1e9), (CivilDateTime{9999, 12, 31, 23, 59, 59}));
  EXPECT_EQ(CivilFromDateTime(2958465.99999999), (CivilDateTime{9999, 12, 31, 23, 59, 59}));
}

struct ParseCase {
  std::string text;
  std::optional<CivilDateTime> civil;
};

TEST(ParseDateTimeTextTest, AcceptsValidTextsAndRejectsTheRest) {
  const std::optional<CivilDateTime> rejected;
  const CivilDateTime may10{2024, 5, 10, 18, 30, 5};
  const ParseCase cases[] = {
      {"2024年5月10日18时30分5秒", may10},
      {"2024年05月10日18时30分05秒", may10},
      {"2024年5月10日18时005分5秒", rejected},
      {"02024年5月10日18时30分5秒", rejected},
      // A space before a field's digits.
      {"2024年 5月10日18时30分5秒", rejected},
      {"2024年5月10日 18时30分5秒", rejected},
      {"2024年5月10日18时30分 5秒", rejected},
      {" 2024年5月10日18时30分5秒", rejected},
      {"2024年5月10日24时0分0秒", rejected},
      {"2024年5月10日23时60分0秒", rejected},
      {"2024年5月10日23时0分60秒", rejected},
      {"2024年4月31日0时0分0秒", rejected},
      {"2024年4月30日0时0分0秒", CivilDateTime{2024, 4, 30, 0, 0, 0}},
      {"2024年13月1日0时0分0秒", rejected},
      {"2024年0月1日0时0分0秒", rejected},
      {"2024年1月0日0时0分0秒", rejected},
      {"2024年2月29日0时0分0秒", CivilDateTime{2024, 2, 29, 0, 0, 0}},
      {"2023年2月29日0时0分0秒", rejected},
      {"1900年2月29日0时0分0秒", rejected},
      {"2000年2月29日0时0分0秒", CivilDateTime{2000, 2, 29, 0, 0, 0}},
      {"99年1月1日0时0分0秒", rejected},
      {"100年1月1日0时0分0秒", CivilDateTime{100, 1, 1, 0, 0, 0}},
      {"9999年12月31日23时59分59秒", CivilDateTime{9999, 12, 31, 23, 59, 59}},
      {"２０２４年５月１０日１８时３０分５秒", may10},
      // The single-byte separators, in place of every unit or mixed with them.
      {"2024/5/10 18:30:5", may10},
      {"2024-5-10-18-30-5", may10},
      {"2024.5.10.18.30.5", may10},
      {"2024:5:10:18:30:5", may10},
      {"2024年5-10日18:30分5", may10},
      {"２０２４／５／１０　１８：３０：５", may10},
      // The space is a separator after the day only.
      {"2024 5/10 18:30:5", rejected},
      {"2024/5/10/18 30:5", rejected},
      // Two separators in a row.
      {"2024//5/10 18:30:5", rejected},
      {"2024年5月10日18时30分5秒 and more", may10},
      {"2024年5月10日18时30分5秒秒", may10},
      {"2024年5月10日18时30分5x", rejected},
      {"2024年5月10日18时30分5分", rejected},
      {"2024年5月10号18时30分5秒", rejected},
      // A field without digits reads 0.
      {"2024年5月10日18时30分秒", CivilDateTime{2024, 5, 10, 18, 30, 0}},
      {"2024/5/10", CivilDateTime{2024, 5, 10, 0, 0, 0}},
      {"2024", rejected},
      // A lone lead byte at the end is folded away.
      {"2024/5/10 18:30:5\xC3", may10},
      {"\xC3", rejected},
      {"", rejected},
  };
  for (const ParseCase& c : cases) {
    EXPECT_EQ(ParseDateTimeText(c.text), c.civil) << c.text;
  }
}

TEST(TextToDateTimeTest, GivesTheValueOrTheEarliest) {
  EXPECT_EQ(TextToDateTime("2024年5月10日16时30分0秒"), 45422.6875);
  EXPECT_EQ(TextToDateTime("2024年5月10日24时30分0秒"), EarliestDateTime);
  EXPECT_EQ(TextToDateTime(""), EarliestDateTime);
}

struct SpanCase {
  CivilDateTime target;
  CivilDateTime reference;
  int64_t seconds;
};

TEST(SecondsBetweenTest, WholeSecondsApartGiveTheExactCount) {
  const SpanCase cases[] = {
      {{2024, 5, 10, 16, 30, 5}, {2024, 5, 10, 16, 30, 5}, 0},
      {{2024, 5, 10, 16, 30, 6}, {2024, 5, 10, 16, 30, 5}, 1},
      {{2024, 5, 10, 18, 30, 5}, {2024, 5, 10, 16, 30, 5}, 7200},
      {{2024, 5, 11, 0, 0, 1}, {2024, 5, 10, 23, 59, 59}, 2},
      {{2025, 1, 1, 0, 0, 0}, {2024, 12, 31, 23, 59, 59}, 1},
      {{2024, 6, 4, 13, 1, 28}, {2024, 5, 10, 16, 30, 5}, 2147483},
      {{2024, 5, 10, 12, 0, 0}, {2024, 5, 10, 13, 0, 0}, -3600},
      {{2024, 5, 10, 16, 30, 4}, {2024, 5, 10, 16, 30, 5}, -1},
      // Across 1899-12-30 and before it, where the raw values run backwards
      // within a day.
      {{1899, 12, 30, 0, 0, 10}, {1899, 12, 29, 23, 59, 50}, 20},
      {{1899, 12, 29, 12, 0, 0}, {1899, 12, 29, 6, 0, 0}, 21600},
      {{1899, 12, 29, 6, 0, 0}, {1899, 12, 29, 12, 0, 0}, -21600},
      {{100, 1, 1, 0, 0, 0}, {100, 1, 1, 0, 0, 1}, -1},
  };
  for (const SpanCase& c : cases) {
    EXPECT_EQ(SecondsBetween(DateTimeFromCivil(c.target), DateTimeFromCivil(c.reference)),
              c.seconds)
        << c.target << " from " << c.reference;
  }
}

TEST(SecondsBetweenTest, ManySpansFromOneReferenceComeOutExact) {
  const CivilDateTime reference{2024, 5, 10, 16, 30, 5};
  const DateTime referenceValue = DateTimeFromCivil(reference);
  for (int64_t n = -200000; n <= 200000; n += 7) {
    // Built from the civil fields, as a parsed target would be.
    const int64_t total = 16 * 3600 + 30 * 60 + 5 + n + 86400 * 3;
    const CivilDateTime target{2024,
                               5,
                               static_cast<int>(7 + total / 86400),
                               static_cast<int>(total / 3600 % 24),
                               static_cast<int>(total / 60 % 60),
                               static_cast<int>(total % 60)};
    ASSERT_EQ(SecondsBetween(DateTimeFromCivil(target), referenceValue), n) << target;
  }
}

TEST(SecondsBetweenTest, RejectedTextIsFarInThePast) {
  EXPECT_EQ(SecondsBetween(EarliestDateTime, DateTimeFromCivil({2024, 5, 10, 0, 0, 0})),
            -(657434LL + 45422LL) * 86400);
}

TEST(TextFormattingTest, IntegerToTextIsPercentD) {
  EXPECT_EQ(IntegerToText(0), "0");
  EXPECT_EQ(IntegerToText(5), "5");
  EXPECT_EQ(IntegerToText(2024), "2024");
  EXPECT_EQ(IntegerToText(-5), "-5");
  EXPECT_EQ(IntegerToText(INT32_MIN), "-2147483648");
}

TEST(TextFormattingTest, NumberToTextIsPercentPoint13G) {
  EXPECT_EQ(NumberToText(16.0), "16");
  EXPECT_EQ(NumberToText(0.0), "0");
  EXPECT_EQ(NumberToText(0.5), "0.5");
  EXPECT_EQ(NumberToText(-2.5), "-2.5");
  EXPECT_EQ(NumberToText(1.0 / 3.0), "0.3333333333333");
  EXPECT_EQ(NumberToText(1234567890123.0), "1234567890123");
  EXPECT_EQ(NumberToText(1e13), "1e+13");
  EXPECT_EQ(NumberToText(0.00001), "1e-05");
}

struct PrefillCase {
  CivilDateTime now;
  DateTimeFieldTexts fields;
};

TEST(PrefillFieldTextsTest, TwoHoursAheadCarriedIntoTheDate) {
  const PrefillCase cases[] = {
      {{2024, 5, 10, 16, 30, 5}, {"2024", "5", "10", "18", "30", "5"}},
      {{2024, 5, 10, 10, 0, 0}, {"2024", "5", "10", "12", "0", "0"}},
      {{2024, 5, 10, 22, 10, 0}, {"2024", "5", "11", "0", "10", "0"}},
      {{2024, 5, 31, 23, 0, 0}, {"2024", "6", "1", "1", "0", "0"}},
      {{2023, 12, 31, 23, 59, 59}, {"2024", "1", "1", "1", "59", "59"}},
      {{2023, 2, 28, 23, 30, 0}, {"2023", "3", "1", "1", "30", "0"}},
      {{2024, 2, 28, 23, 30, 0}, {"2024", "2", "29", "1", "30", "0"}},
      {{2024, 2, 29, 22, 0, 0}, {"2024", "3", "1", "0", "0", "0"}},
  };
  for (const PrefillCase& c : cases) {
    const DateTimeFieldTexts fields = PrefillFieldTexts(c.now);
    EXPECT_EQ(fields.year, c.fields.year) << c.now;
    EXPECT_EQ(fields.month, c.fields.month) << c.now;
    EXPECT_EQ(fields.day, c.fields.day) << c.now;
    EXPECT_EQ(fields.hour, c.fields.hour) << c.now;
    EXPECT_EQ(fields.minute, c.fields.minute) << c.now;
    EXPECT_EQ(fields.second, c.fields.second) << c.now;
  }
}

TEST(JoinDateTimeTextTest, JoinsWithTheUnitCharacters) {
  EXPECT_EQ(JoinDateTimeText({"2024", "5", "10", "18", "30", "5"}),
            "2024\xC4\xEA"
            "5\xD4\xC2"
            "10\xC8\xD5"
            "18\xCA\xB1"
            "30\xB7\xD6"
            "5\xC3\xEB");
  EXPECT_EQ(JoinDateTimeText({"", "", "", "", "", ""}), "年月日时分秒");
}

// The start-up fields, clicked without editing, name a date and time the
// reader accepts, also late in the evening.
TEST(PrefillFieldTextsTest, PrefilledTextParsesToTwoHoursLater) {
  EXPECT_EQ(ParseDateTimeText(JoinDateTimeText(PrefillFieldTexts({2024, 5, 10, 22, 10, 0}))),
            (CivilDateTime{2024, 5, 11, 0, 10, 0}));
  const CivilDateTime now{2024, 5, 10, 16, 30, 5};
  const std::optional<CivilDateTime> target =
      ParseDateTimeText(JoinDateTimeText(PrefillFieldTexts(now)));
  ASSERT_TRUE(target);
  EXPECT_EQ(SecondsBetween(DateTimeFromCivil(*target), DateTimeFromCivil(now)) * 1000, 7200000);
}

}  // namespace
