#pragma once
// Local wall time to UTC under a time-zone rule in the shape Windows gives it
// (TIME_ZONE_INFORMATION, filled from GetTimeZoneInformationForYear), so that
// a wait until a local date and time follows the clock across a change to or
// from daylight-saving time.

#include <cstdint>

#include "schedule/date_time.h"

// The day-of-month form of a SYSTEMTIME transition date: the week-th
// dayOfWeek (0 = Sunday) of the month, week 5 meaning the last one. A month
// of 0 means the zone has no daylight-saving time. The time is the local wall
// time of the period that is ending.
struct TransitionDate {
  int month;
  int dayOfWeek;
  int week;
  int hour;
  int minute;
  int second;
};

// UTC = local + biasMinutes + standardBiasMinutes in standard time, and
// local + biasMinutes + daylightBiasMinutes in daylight time. standardDate is
// where daylight time ends, daylightDate where it begins; in the southern
// hemisphere daylightDate lies later in the year than standardDate.
struct TimeZoneRule {
  int32_t biasMinutes;
  TransitionDate standardDate;
  int32_t standardBiasMinutes;
  TransitionDate daylightDate;
  int32_t daylightBiasMinutes;
};

// Seconds since 1970-01-01 00:00:00 UTC of a local wall time. A time that the
// change into daylight time skips gives the moment of the change itself, the
// first that exists after the gap; a time that the change back shows twice
// gives its first occurrence.
int64_t LocalToUtcSeconds(const CivilDateTime& local, const TimeZoneRule& rule);

// Seconds since 1970-01-01 00:00:00 UTC of a UTC date and time.
int64_t UtcSecondsFromCivil(const CivilDateTime& utc);
