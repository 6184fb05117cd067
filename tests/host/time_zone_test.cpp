#include "schedule/time_zone.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

namespace {

// Central Europe: UTC+1, daylight UTC+2 from the last Sunday of March
// 02:00 (clock to 03:00) to the last Sunday of October 03:00 (clock to 02:00).
constexpr TimeZoneRule kCentralEurope{-60, {10, 0, 5, 3, 0, 0}, 0, {3, 0, 5, 2, 0, 0}, -60};
// The same offsets without daylight-saving time.
constexpr TimeZoneRule kCentralEuropeNoDaylight{-60, {0, 0, 0, 0, 0, 0}, 0, {0, 0, 0, 0, 0, 0}, 0};
// South-eastern Australia: UTC+10, daylight UTC+11 from the first Sunday of
// October 02:00 to the first Sunday of April 03:00.
constexpr TimeZoneRule kSydney{-600, {4, 0, 1, 3, 0, 0}, 0, {10, 0, 1, 2, 0, 0}, -60};
// China: UTC+8 all year.
constexpr TimeZoneRule kChina{-480, {0, 0, 0, 0, 0, 0}, 0, {0, 0, 0, 0, 0, 0}, 0};

struct ConversionCase {
  CivilDateTime local;
  CivilDateTime utc;
};

void ExpectConversions(const TimeZoneRule& rule, std::initializer_list<ConversionCase> cases) {
  for (const ConversionCase& c : cases) {
    EXPECT_EQ(LocalToUtcSeconds(c.local, rule), UtcSecondsFromCivil(c.utc))
        << c.local.year << '-' << c.local.month << '-' << c.local.day << ' ' << c.local.hour << ':'
        << c.local.minute << ':' << c.local.second;
  }
}

TEST(UtcSecondsFromCivilTest, CountsFromTheUnixEpoch) {
  EXPECT_EQ(UtcSecondsFromCivil({1970, 1, 1, 0, 0, 0}), 0);
  EXPECT_EQ(UtcSecondsFromCivil({1969, 12, 31, 23, 59, 59}), -1);
  EXPECT_EQ(UtcSecondsFromCivil({2024, 5, 10, 16, 30, 0}), 1715358600);
  EXPECT_EQ(UtcSecondsFromCivil({100, 1, 1, 0, 0, 0}), -59011459200);
}

TEST(LocalToUtcSecondsTest, CentralEurope) {
  ExpectConversions(kCentralEurope,
                    {
                        {{2024, 1, 15, 12, 0, 0}, {2024, 1, 15, 11, 0, 0}},
                        {{2024, 7, 15, 12, 0, 0}, {2024, 7, 15, 10, 0, 0}},
                        {{2024, 12, 31, 23, 30, 0}, {2024, 12, 31, 22, 30, 0}},
                        // Spring forward on 31 March 2024: 02:00 to 02:59:59 do not exist and
                        // give the moment of the change.
                        {{2024, 3, 31, 1, 59, 59}, {2024, 3, 31, 0, 59, 59}},
                        {{2024, 3, 31, 2, 0, 0}, {2024, 3, 31, 1, 0, 0}},
                        {{2024, 3, 31, 2, 30, 0}, {2024, 3, 31, 1, 0, 0}},
                        {{2024, 3, 31, 2, 59, 59}, {2024, 3, 31, 1, 0, 0}},
                        {{2024, 3, 31, 3, 0, 0}, {2024, 3, 31, 1, 0, 0}},
                        {{2024, 3, 31, 3, 0, 1}, {2024, 3, 31, 1, 0, 1}},
                        // Fall back on 27 October 2024: 02:00 to 02:59:59 come twice; the
                        // first, daylight-time occurrence counts.
                        {{2024, 10, 27, 1, 59, 59}, {2024, 10, 26, 23, 59, 59}},
                        {{2024, 10, 27, 2, 0, 0}, {2024, 10, 27, 0, 0, 0}},
                        {{2024, 10, 27, 2, 30, 0}, {2024, 10, 27, 0, 30, 0}},
                        {{2024, 10, 27, 2, 59, 59}, {2024, 10, 27, 0, 59, 59}},
                        {{2024, 10, 27, 3, 0, 0}, {2024, 10, 27, 2, 0, 0}},
                        // Another year, other Sundays: 26 March and 29 October 2023.
                        {{2023, 3, 26, 2, 30, 0}, {2023, 3, 26, 1, 0, 0}},
                        {{2023, 3, 25, 2, 30, 0}, {2023, 3, 25, 1, 30, 0}},
                        {{2023, 10, 29, 2, 30, 0}, {2023, 10, 29, 0, 30, 0}},
                        {{2023, 10, 29, 3, 30, 0}, {2023, 10, 29, 2, 30, 0}},
                    });
}

TEST(LocalToUtcSecondsTest, SouthernHemisphere) {
  ExpectConversions(kSydney,
                    {
                        {{2024, 1, 15, 12, 0, 0}, {2024, 1, 15, 1, 0, 0}},
                        {{2024, 7, 15, 12, 0, 0}, {2024, 7, 15, 2, 0, 0}},
                        {{2024, 12, 31, 23, 0, 0}, {2024, 12, 31, 12, 0, 0}},
                        // Daylight time ends on 7 April 2024 at 03:00: 02:00 to 02:59:59 twice.
                        {{2024, 4, 7, 2, 30, 0}, {2024, 4, 6, 15, 30, 0}},
                        {{2024, 4, 7, 3, 0, 0}, {2024, 4, 6, 17, 0, 0}},
                        // Daylight time begins on 6 October 2024 at 02:00: 02:xx is skipped.
                        {{2024, 10, 6, 1, 59, 59}, {2024, 10, 5, 15, 59, 59}},
                        {{2024, 10, 6, 2, 30, 0}, {2024, 10, 5, 16, 0, 0}},
                        {{2024, 10, 6, 3, 0, 0}, {2024, 10, 5, 16, 0, 0}},
                    });
}

TEST(LocalToUtcSecondsTest, WithoutDaylightTimeOnlyTheBiasCounts) {
  ExpectConversions(kChina, {
                                {{2024, 5, 10, 16, 30, 0}, {2024, 5, 10, 8, 30, 0}},
                                {{2024, 1, 1, 3, 0, 0}, {2023, 12, 31, 19, 0, 0}},
                            });
}

struct SpanCase {
  CivilDateTime from;
  CivilDateTime to;
  int64_t seconds;
};

// The wait from a local click to a local target follows the wall clock.
TEST(LocalToUtcSecondsTest, SpansAcrossTheChanges) {
  struct RuleSpans {
    TimeZoneRule rule;
    SpanCase span;
  };
  const RuleSpans cases[] = {
      // 08:00 the morning after spring forward is one hour nearer.
      {kCentralEurope, {{2024, 3, 30, 20, 0, 0}, {2024, 3, 31, 8, 0, 0}, 11 * 3600}},
      {kCentralEuropeNoDaylight, {{2024, 3, 30, 20, 0, 0}, {2024, 3, 31, 8, 0, 0}, 12 * 3600}},
      {kCentralEurope, {{2024, 10, 26, 20, 0, 0}, {2024, 10, 27, 8, 0, 0}, 13 * 3600}},
      {kCentralEurope, {{2024, 5, 10, 20, 0, 0}, {2024, 5, 11, 8, 0, 0}, 12 * 3600}},
      // Through the skipped hour: 01:30 to 03:30 is one hour of real time.
      {kCentralEurope, {{2024, 3, 31, 1, 30, 0}, {2024, 3, 31, 3, 30, 0}, 3600}},
      // From the first 02:30 to 03:30 is two hours.
      {kCentralEurope, {{2024, 10, 27, 2, 30, 0}, {2024, 10, 27, 3, 30, 0}, 2 * 3600}},
      {kSydney, {{2024, 10, 5, 20, 0, 0}, {2024, 10, 6, 8, 0, 0}, 11 * 3600}},
      {kSydney, {{2024, 4, 6, 20, 0, 0}, {2024, 4, 7, 8, 0, 0}, 13 * 3600}},
      // A whole year holds both changes and comes out even.
      {kSydney, {{2024, 1, 1, 0, 0, 0}, {2025, 1, 1, 0, 0, 0}, 366 * 86400}},
  };
  for (const RuleSpans& c : cases) {
    EXPECT_EQ(LocalToUtcSeconds(c.span.to, c.rule) - LocalToUtcSeconds(c.span.from, c.rule),
              c.span.seconds)
        << c.span.from.month << '-' << c.span.from.day << " to " << c.span.to.month << '-'
        << c.span.to.day;
  }
}

}  // namespace
