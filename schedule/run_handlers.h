#pragma once
// The two ways of waiting before the selected action, and the start-up values
// of the date and time fields. They reach the window only through Controls and
// the system only through ScheduleServices, so both can be faked.

#include <cstdint>
#include <string_view>

#include "actions/dispatcher.h"
#include "schedule/date_time.h"
#include "window/controls.h"

class ScheduleServices {
 public:
  virtual ~ScheduleServices() = default;
  // The local date and time, to the whole second.
  virtual CivilDateTime CurrentLocalDateTime() = 0;
  // Seconds since 1970-01-01 00:00:00 UTC, to the whole second.
  virtual int64_t CurrentUtcSeconds() = 0;
  // The UTC moment of a local wall time under the system's time-zone rules
  // for that date.
  virtual int64_t LocalToUtcSeconds(const CivilDateTime& local) = 0;
  // A steady clock in milliseconds, for spans within one run.
  virtual int64_t MonotonicMilliseconds() = 0;
  // Blocks the calling thread; a count at or below 0 returns at once.
  virtual void WaitMilliseconds(int64_t milliseconds) = 0;
  // The program's information box: no owner, caption "信息：", one OK button.
  virtual void ShowInformation(std::string_view text) = 0;
};

// Shown when a date-time field is empty.
inline constexpr std::string_view kIncompleteDateTimeMessage =
    "请输入完整的时间，如果需要立即执行，请使用操作菜单选项";
// Shown when the fields do not form a real date and time: acting on such an
// entry would turn a typing slip into an immediate forced power-off.
inline constexpr std::string_view kInvalidDateTimeMessage =
    "输入的日期或时间无效，请检查后重新输入。任务未执行。";

void PrefillDateTimeFields(Controls& controls, ScheduleServices& services);
void RunAtDateTime(Controls& controls, ScheduleServices& services, ActionCalls& calls);
void RunCountdown(Controls& controls, ScheduleServices& services, ActionCalls& calls);
