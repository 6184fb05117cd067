#pragma once
// Turning a PowerAction code into the one Windows request that carries it.
// The Windows calls sit behind PowerPlatform so the decisions here can be
// checked on the build machine, and so a dry-run build can record the final
// call instead of making it.

#include <cstdint>

using PowerAction = int32_t;

constexpr PowerAction kPowerOff = 1;
constexpr PowerAction kRestart = 2;
constexpr PowerAction kLogOff = 3;
// The action of the radio button captioned "休眠": sleep, not hibernation.
constexpr PowerAction kSuspend = 4;
// Nothing in the program asks for it; accepted for completeness.
constexpr PowerAction kHibernate = 5;

// The ExitWindowsEx flag values, under names of our own because this header
// is also read after <windows.h>, whose macros would swallow the real names.
constexpr uint32_t kEwxLogOff = 0x0;
constexpr uint32_t kEwxShutdown = 0x1;
constexpr uint32_t kEwxReboot = 0x2;
constexpr uint32_t kEwxForce = 0x4;
constexpr uint32_t kEwxPowerOff = 0x8;

// SHTDN_REASON_FLAG_PLANNED | SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER.
// A reason of 0 is recorded as an unplanned shutdown and can hold the shutdown
// up while the system asks why; the user chose this one, so it is planned.
constexpr uint32_t kPlannedShutdownReason = 0x80000000u;

class PowerPlatform {
 public:
  virtual ~PowerPlatform() = default;
  // True on the NT family (VER_PLATFORM_WIN32_NT).
  virtual bool IsNtFamily() = 0;
  // True when this process may now shut the system down.
  virtual bool EnableShutdownPrivilege() = 0;
  // True when Windows accepted the request.
  virtual bool ExitWindowsEx(uint32_t flags, uint32_t reason) = 0;
  virtual bool SetSystemPowerState(bool suspend, bool force) = 0;
};

// The ExitWindowsEx flags of the codes kPowerOff, kRestart and kLogOff. Only
// power off depends on the family: the older family knows no EWX_POWEROFF.
uint32_t ExitWindowsFlags(PowerAction action, bool force, bool ntFamily);

// False for a code outside 1..5 (before anything else happens), when the
// shutdown privilege cannot be enabled, or when Windows refuses.
bool RequestPowerAction(PowerAction action, bool force, PowerPlatform& platform);
