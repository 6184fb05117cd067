#pragma once
#include "schedule/run_handlers.h"

// The system clock, the system's time-zone rules, Sleep and MessageBoxA.
class SystemScheduleServices final : public ScheduleServices {
 public:
  CivilDateTime CurrentLocalDateTime() override;
  int64_t CurrentUtcSeconds() override;
  int64_t LocalToUtcSeconds(const CivilDateTime& local) override;
  int64_t MonotonicMilliseconds() override;
  void WaitMilliseconds(int64_t milliseconds) override;
  void ShowInformation(std::string_view text) override;
};
