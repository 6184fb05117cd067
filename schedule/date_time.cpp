#include "schedule/date_time.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "schedule/fold_full_width.h"

namespace {

using std::chrono::days;
using std::chrono::hours;
using std::chrono::minutes;
using std::chrono::seconds;
using std::chrono::sys_days;
using std::chrono::sys_seconds;
using std::chrono::year_month_day;

constexpr double kSecondsPerDay = 86400.0;
// 9999-12-31 23:59:59, the last value the scheduler deals with.
constexpr DateTime kLatestDateTime = 2958465.0 + 86399.0 / kSecondsPerDay;

constexpr sys_days kDateTimeEpoch = sys_days{std::chrono::year{1899} / std::chrono::December / 30};

year_month_day YearMonthDay(const CivilDateTime& civil) {
  return year_month_day{std::chrono::year{civil.year},
                        std::chrono::month{static_cast<unsigned>(civil.month)},
                        std::chrono::day{static_cast<unsigned>(civil.day)}};
}

sys_seconds SecondsOf(const CivilDateTime& civil) {
  return sys_days{YearMonthDay(civil)} + hours{civil.hour} + minutes{civil.minute} +
         seconds{civil.second};
}

CivilDateTime CivilOf(sys_seconds moment) {
  const sys_days day = std::chrono::floor<days>(moment);
  const year_month_day date{day};
  const std::chrono::hh_mm_ss time{moment - day};
  return CivilDateTime{static_cast<int>(date.year()),
                       static_cast<int>(static_cast<unsigned>(date.month())),
                       static_cast<int>(static_cast<unsigned>(date.day())),
                       static_cast<int>(time.hours().count()),
                       static_cast<int>(time.minutes().count()),
                       static_cast<int>(time.seconds().count())};
}

// Reads up to maxDigits ASCII digits; none read gives 0.
int ReadNumberField(std::string_view& text, int maxDigits) {
  int value = 0;
  for (int i = 0; i < maxDigits && !text.empty() && text.front() >= '0' && text.front() <= '9';
       ++i) {
    value = value * 10 + (text.front() - '0');
    text.remove_prefix(1);
  }
  return value;
}

// Skips one separator: one of the single-byte ones, or else the field's unit
// character, or nothing.
void SkipSeparator(std::string_view& text, std::string_view singleBytes, std::string_view unit) {
  if (!text.empty() && singleBytes.find(text.front()) != std::string_view::npos) {
    text.remove_prefix(1);
  } else if (text.starts_with(unit)) {
    text.remove_prefix(unit.size());
  }
}

bool IsValidCivil(const CivilDateTime& civil) {
  // Checked before building the chrono date, whose fields are unsigned.
  if (civil.year < 100 || civil.year > 9999 || civil.month < 1 || civil.month > 12 ||
      civil.day < 1 || civil.day > 31) {
    return false;
  }
  return YearMonthDay(civil).ok() && civil.hour <= 23 && civil.minute <= 59 && civil.second <= 59;
}

// The value as a count of days on one straight line. Before the epoch the
// OLE form runs backwards within a day (-1.25 is later than -1.5 on the
// clock), so two such values cannot simply be subtracted.
double DaysSinceEpoch(DateTime value) {
  if (value >= 0) {
    return value;
  }
  const double wholeDays = std::trunc(value);
  return wholeDays + (wholeDays - value);
}

}  // namespace

DateTime DateTimeFromCivil(const CivilDateTime& civil) {
  const auto day = (sys_days{YearMonthDay(civil)} - kDateTimeEpoch).count();
  const double timeOfDay = (civil.hour * 3600 + civil.minute * 60 + civil.second) / kSecondsPerDay;
  // Before the epoch the fraction is taken away from the negative day, so
  // that its magnitude still reads as the time of day.
  return day < 0 ? day - timeOfDay : day + timeOfDay;
}

CivilDateTime CivilFromDateTime(DateTime value) {
  // Every value of -657435.0 and below is a day before the range (and
  // -infinity would make the straight line NaN).
  if (std::isnan(value) || value <= EarliestDateTime - 1.0) {
    value = EarliestDateTime;
  }
  // Clamped on the straight line of days: before the epoch a later time of
  // a day is the more negative value, so clamping the OLE value itself would
  // take every time of 100-01-01 but midnight for one before the range.
  const double line =
      std::clamp(DaysSinceEpoch(value), DaysSinceEpoch(EarliestDateTime), kLatestDateTime);
  const double wholeDays = std::floor(line);
  // 23:59:59.6 rounds up into the next day, which is the next calendar day
  // on both sides of the epoch because the line runs forwards.
  const auto secondOfDay = static_cast<int64_t>(std::round((line - wholeDays) * kSecondsPerDay));
  const sys_seconds moment =
      kDateTimeEpoch + days{static_cast<int64_t>(wholeDays)} + seconds{secondOfDay};
  return CivilOf(std::min(moment, SecondsOf({9999, 12, 31, 23, 59, 59})));
}

std::optional<CivilDateTime> ParseDateTimeText(std::string_view text) {
  const std::string folded = FoldFullWidth(text);
  if (folded.empty()) {
    return std::nullopt;
  }
  std::string_view rest = folded;
  CivilDateTime civil{};
  civil.year = ReadNumberField(rest, 4);
  SkipSeparator(rest, "/-:.", "年");
  civil.month = ReadNumberField(rest, 2);
  SkipSeparator(rest, "/-:.", "月");
  civil.day = ReadNumberField(rest, 2);
  SkipSeparator(rest, "/-: .", "日");
  civil.hour = ReadNumberField(rest, 2);
  SkipSeparator(rest, "/-:.", "时");
  civil.minute = ReadNumberField(rest, 2);
  SkipSeparator(rest, "/-:.", "分");
  civil.second = ReadNumberField(rest, 2);
  if (!rest.empty() && !rest.starts_with("秒")) {
    return std::nullopt;
  }
  if (!IsValidCivil(civil)) {
    return std::nullopt;
  }
  return civil;
}

DateTime TextToDateTime(std::string_view text) {
  const std::optional<CivilDateTime> civil = ParseDateTimeText(text);
  return civil ? DateTimeFromCivil(*civil) : EarliestDateTime;
}

int64_t SecondsBetween(DateTime target, DateTime reference) {
  const double span = (DaysSinceEpoch(target) - DaysSinceEpoch(reference)) * kSecondsPerDay;
  if (!std::isfinite(span)) {
    return 0;
  }
  // The guard lifts a span of whole seconds that the rounding of the two
  // doubles left just short of its integer. It points away from zero so that
  // a target n seconds in the past gives -n, not -(n - 1); it is far below a
  // second, so it moves nothing else.
  return static_cast<int64_t>(span + std::copysign(5.787037037037037e-6, span));
}

std::string IntegerToText(int32_t value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string NumberToText(double value) {
  // printf itself rather than to_chars with a precision: both give the same
  // text, but the latter drags a 180 KB table-driven formatter into the
  // Windows program, whose C runtime already holds printf. The program never
  // calls setlocale, so the C runtime stays in the "C" locale and the point is
  // '.' whatever the regional settings. 32 bytes hold every "%.13g" result.
  char buffer[32];
  const int length = std::snprintf(buffer, sizeof buffer, "%.13g", value);
  return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

DateTimeFieldTexts PrefillFieldTexts(const CivilDateTime& now) {
  const CivilDateTime later = CivilOf(SecondsOf(now) + hours{2});
  return DateTimeFieldTexts{IntegerToText(later.year),   IntegerToText(later.month),
                            IntegerToText(later.day),    NumberToText(later.hour),
                            IntegerToText(later.minute), IntegerToText(later.second)};
}

std::string JoinDateTimeText(const DateTimeFieldTexts& fields) {
  return fields.year + "年" + fields.month + "月" + fields.day + "日" + fields.hour + "时" +
         fields.minute + "分" + fields.second + "秒";
}
