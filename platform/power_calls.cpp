#include "platform/power_calls.h"

#include <windows.h>

bool CallExitWindowsEx(uint32_t flags, uint32_t reason) {
  return ExitWindowsEx(flags, reason) != FALSE;
}

bool CallSetSystemPowerState(bool suspend, bool force) {
  return SetSystemPowerState(suspend ? TRUE : FALSE, force ? TRUE : FALSE) != FALSE;
}
