#pragma once
// The real PowerPlatform. Its last two calls go through platform/power_calls.h,
// which the dry-run build links with a recording twin.

#include <cstdint>

#include "actions/power_request.h"

class WindowsPowerPlatform final : public PowerPlatform {
 public:
  bool IsNtFamily() override;
  bool EnableShutdownPrivilege() override;
  bool ExitWindowsEx(uint32_t flags, uint32_t reason) override;
  bool SetSystemPowerState(bool suspend, bool force) override;
};
