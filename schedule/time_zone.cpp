#include "schedule/time_zone.h"

#include <algorithm>
#include <chrono>

namespace {

using namespace std::chrono;

constexpr int64_t kSecondsPerMinute = 60;

// The wall time, in seconds as if the wall clock read UTC, at which the
// transition happens in the given year.
int64_t TransitionWallSeconds(const TransitionDate& date, int year) {
  const std::chrono::year y{year};
  const std::chrono::month m{static_cast<unsigned>(date.month)};
  const weekday dayOfWeek{static_cast<unsigned>(date.dayOfWeek)};
  const sys_days day =
      date.week >= 5
          ? sys_days{year_month_weekday_last{y, m, weekday_last{dayOfWeek}}}
          : sys_days{year_month_weekday{y, m, dayOfWeek[static_cast<unsigned>(date.week)]}};
  const sys_seconds moment = day + hours{date.hour} + minutes{date.minute} + seconds{date.second};
  return moment.time_since_epoch().count();
}

}  // namespace

int64_t UtcSecondsFromCivil(const CivilDateTime& utc) {
  const year_month_day date{std::chrono::year{utc.year},
                            std::chrono::month{static_cast<unsigned>(utc.month)},
                            std::chrono::day{static_cast<unsigned>(utc.day)}};
  const sys_seconds moment =
      sys_days{date} + hours{utc.hour} + minutes{utc.minute} + seconds{utc.second};
  return moment.time_since_epoch().count();
}

int64_t LocalToUtcSeconds(const CivilDateTime& local, const TimeZoneRule& rule) {
  const int64_t wall = UtcSecondsFromCivil(local);
  // Without daylight time Windows uses the bias alone.
  if (rule.standardDate.month == 0 || rule.daylightDate.month == 0) {
    return wall + rule.biasMinutes * kSecondsPerMinute;
  }
  const int64_t standardOffset = (rule.biasMinutes + rule.standardBiasMinutes) * kSecondsPerMinute;
  const int64_t daylightOffset = (rule.biasMinutes + rule.daylightBiasMinutes) * kSecondsPerMinute;

  // Both changes as UTC instants of the local year. Each is given in the wall
  // time of the period it ends: daylight begins at a standard-time reading,
  // ends at a daylight-time one.
  const int64_t daylightBegins =
      TransitionWallSeconds(rule.daylightDate, local.year) + standardOffset;
  const int64_t daylightEnds =
      TransitionWallSeconds(rule.standardDate, local.year) + daylightOffset;
  const auto isDaylight = [&](int64_t utc) {
    // In the southern hemisphere daylight time spans the turn of the year.
    return daylightBegins < daylightEnds ? utc >= daylightBegins && utc < daylightEnds
                                         : utc >= daylightBegins || utc < daylightEnds;
  };

  const int64_t asStandard = wall + standardOffset;
  const int64_t asDaylight = wall + daylightOffset;
  const bool standardFits = !isDaylight(asStandard);
  const bool daylightFits = isDaylight(asDaylight);
  if (standardFits && daylightFits) {
    return std::min(asStandard, asDaylight);
  }
  if (standardFits) {
    return asStandard;
  }
  if (daylightFits) {
    return asDaylight;
  }
  // The reading falls into the gap of a change; the change lies between the
  // two readings and is the first moment the clock shows after the gap.
  const int64_t earlier = std::min(asStandard, asDaylight);
  const int64_t later = std::max(asStandard, asDaylight);
  return daylightBegins >= earlier && daylightBegins <= later ? daylightBegins : daylightEnds;
}
