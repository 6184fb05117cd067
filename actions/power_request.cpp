#include "actions/power_request.h"

uint32_t ExitWindowsFlags(PowerAction action, bool force, bool ntFamily) {
  uint32_t flags = kEwxLogOff;
  if (action == kPowerOff) {
    flags = ntFamily ? kEwxPowerOff : kEwxShutdown;
  } else if (action == kRestart) {
    flags = kEwxReboot;
  }
  if (force) flags |= kEwxForce;
  return flags;
}

bool RequestPowerAction(PowerAction action, bool force, PowerPlatform& platform) {
  if (action < kPowerOff || action > kHibernate) return false;
  // Log off needs no privilege, but the step runs for every code all the same:
  // an account that may not shut down gets none of the power actions.
  if (!platform.EnableShutdownPrivilege()) return false;
  if (action == kSuspend || action == kHibernate) {
    return platform.SetSystemPowerState(action == kSuspend, force);
  }
  // The family only chooses between EWX_POWEROFF and EWX_SHUTDOWN, so only
  // power off asks for it.
  const bool ntFamily = action == kPowerOff && platform.IsNtFamily();
  return platform.ExitWindowsEx(ExitWindowsFlags(action, force, ntFamily), kPlannedShutdownReason);
}
