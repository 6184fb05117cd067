#pragma once
// The date-time value of the scheduler, its text forms and the conversions
// between them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// An OLE Automation date: days since 1899-12-30 00:00:00 local time, the
// fraction the time of day. Before that day the whole part is negative while
// the fraction still counts forwards: -1.25 is 1899-12-29 06:00.
using DateTime = double;

// 100-01-01 00:00:00, also the value of a rejected date-time text.
inline constexpr DateTime EarliestDateTime = -657434.0;

// A date and time of the proleptic Gregorian calendar, hour 0 to 23.
struct CivilDateTime {
  int year, month, day, hour, minute, second;
  bool operator==(const CivilDateTime&) const = default;
};

// The fields are taken as a valid date and time.
DateTime DateTimeFromCivil(const CivilDateTime& civil);

// Rounded to the nearest second. Values outside 100-01-01 to
// 9999-12-31 23:59:59 are clamped to that range; NaN gives the earliest.
CivilDateTime CivilFromDateTime(DateTime value);

// Reads the date-time text: year of up to 4 digits, month, day, hour, minute
// and second of up to 2, each followed by one separator ('/', '-', ':', '.',
// a space after the day only, or the field's unit character 年 月 日 时 分),
// the text ending after the second or going on with 秒 (the rest ignored).
// Full-width forms count as their ASCII twins. Nothing for a text that does
// not match or whose fields do not form a valid date and time.
std::optional<CivilDateTime> ParseDateTimeText(std::string_view text);

// ParseDateTimeText as a DateTime; EarliestDateTime for a rejected text.
DateTime TextToDateTime(std::string_view text);

// Whole seconds from reference to target, truncated toward zero, negative
// when the target lies before the reference. Two values of whole seconds n
// seconds apart give exactly n, on either side of 1899-12-30.
int64_t SecondsBetween(DateTime target, DateTime reference);

// "%d": no leading zeros, so month 5 gives "5".
std::string IntegerToText(int32_t value);

// "%.13g": whole numbers below 10^13 without a point, so 16.0 gives "16".
std::string NumberToText(double value);

// The six date and time boxes, as texts.
struct DateTimeFieldTexts {
  std::string year, month, day, hour, minute, second;
};

// The boxes' start-up values: two hours after now, carried into the day,
// month and year like any date arithmetic.
DateTimeFieldTexts PrefillFieldTexts(const CivilDateTime& now);

// The six texts with their unit characters: 2024年5月10日18时30分5秒.
std::string JoinDateTimeText(const DateTimeFieldTexts& fields);
