#include "platform/power.h"

#include <windows.h>

#include "platform/power_calls.h"

namespace {

// 148 bytes: the plain OSVERSIONINFOA, which every version of Windows accepts.
constexpr DWORD kVersionInfoSize = 148;
static_assert(sizeof(OSVERSIONINFOA) == kVersionInfoSize);

}  // namespace

bool WindowsPowerPlatform::IsNtFamily() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = kVersionInfoSize;
  if (!GetVersionExA(&version)) return false;
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool WindowsPowerPlatform::EnableShutdownPrivilege() {
  // The older family has no privileges: everyone may shut down.
  if (!IsNtFamily()) return true;
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    return false;
  }
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool enabled = false;
  if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    // AdjustTokenPrivileges succeeds even when the account does not hold the
    // privilege; only the last error (ERROR_NOT_ALL_ASSIGNED) tells.
    enabled = GetLastError() == ERROR_SUCCESS;
  }
  CloseHandle(token);
  return enabled;
}

bool WindowsPowerPlatform::ExitWindowsEx(uint32_t flags, uint32_t reason) {
  return CallExitWindowsEx(flags, reason);
}

bool WindowsPowerPlatform::SetSystemPowerState(bool suspend, bool force) {
  return CallSetSystemPowerState(suspend, force);
}
