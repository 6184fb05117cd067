#include "schedule/schedule_services_win32.h"

#include <windows.h>

#include <string>

#include "schedule/time_zone.h"
#include "schedule/wait.h"

namespace {

TransitionDate TransitionFrom(const SYSTEMTIME& when) {
  // Some zones store their change as 23:59:59.999: that is the next midnight,
  // not a second before it. The rule counts whole seconds, and a second of 60
  // simply adds up to the next minute.
  const int second = when.wSecond + (when.wMilliseconds >= 500 ? 1 : 0);
  return {when.wMonth, when.wDayOfWeek, when.wDay, when.wHour, when.wMinute, second};
}

TimeZoneRule RuleForYear(int year) {
  TIME_ZONE_INFORMATION zone{};
  if (!GetTimeZoneInformationForYear(static_cast<USHORT>(year), nullptr, &zone)) {
    GetTimeZoneInformation(&zone);
  }
  return {zone.Bias, TransitionFrom(zone.StandardDate), zone.StandardBias,
          TransitionFrom(zone.DaylightDate), zone.DaylightBias};
}

void SleepFor(uint32_t milliseconds) { Sleep(milliseconds); }

}  // namespace

CivilDateTime SystemScheduleServices::CurrentLocalDateTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

int64_t SystemScheduleServices::CurrentUtcSeconds() {
  SYSTEMTIME now;
  GetSystemTime(&now);
  return UtcSecondsFromCivil({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond});
}

int64_t SystemScheduleServices::LocalToUtcSeconds(const CivilDateTime& local) {
  return ::LocalToUtcSeconds(local, RuleForYear(local.year));
}

int64_t SystemScheduleServices::MonotonicMilliseconds() {
  // The tick count moves in steps of about 16 ms; the performance counter
  // does not.
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return now.QuadPart / frequency.QuadPart * 1000 +
         now.QuadPart % frequency.QuadPart * 1000 / frequency.QuadPart;
}

void SystemScheduleServices::WaitMilliseconds(int64_t milliseconds) {
  ::WaitMilliseconds(milliseconds, SleepFor);
}

void SystemScheduleServices::ShowInformation(std::string_view text) {
  const std::string terminated(text);
  MessageBoxA(nullptr, terminated.c_str(), "信息：", MB_OK | MB_TASKMODAL);
}
