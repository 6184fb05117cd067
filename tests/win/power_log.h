#pragma once
// What the countdown and the date-time tests share: the dry-run program's
// request lines, choosing an option, opening the window, and watching
// power-requests.log fill in time.

#include <windows.h>

#include <chrono>
#include <ostream>
#include <string>
#include <thread>

#include "harness/tavrel_process.h"
#include "window/controls.h"

namespace power_log {

// A power option and the one line the dry-run program writes for it.
struct PowerOption {
  const char* name;  // for test names: ASCII only
  ControlName button;
  const char* line;
};

// On the NT family, which Wine reports: EWX_POWEROFF, EWX_REBOOT and
// EWX_LOGOFF with EWX_FORCE; "休眠" suspends, it does not hibernate.
inline void PrintTo(const PowerOption& option, std::ostream* out) { *out << option.name; }

inline constexpr PowerOption kPowerOff{"PowerOff", ControlName::关机单选框,
                                       "ExitWindowsEx flags=12\n"};
inline constexpr PowerOption kRestart{"Restart", ControlName::重启单选框,
                                      "ExitWindowsEx flags=6\n"};
inline constexpr PowerOption kLogOff{"LogOff", ControlName::注销单选框, "ExitWindowsEx flags=4\n"};
inline constexpr PowerOption kSuspend{"Suspend", ControlName::休眠单选框,
                                      "SetSystemPowerState suspend=1 force=1\n"};

inline harness::StartOptions DryRun() {
  harness::StartOptions options;
  options.program = "Tavrel-dryrun.exe";
  return options;
}

// Checks the one button and clears the other four.
inline void SelectOnly(const harness::TavrelProcess& app, ControlName chosen) {
  for (ControlName button :
       {ControlName::关机单选框, ControlName::重启单选框, ControlName::注销单选框,
        ControlName::休眠单选框, ControlName::CMD单选框}) {
    app.SetChecked(button, button == chosen);
  }
}

// Through the tray menu's "显示窗口", as a user would; true once it shows.
inline bool OpenWindow(const harness::TavrelProcess& app) {
  app.ChooseMenuItem(2);
  return harness::WaitUntil([&] { return app.WindowVisible(); });
}

// How power-requests.log filled while it was watched: the last reading that
// found it empty, the first that did not, and the text at the end.
template <class Clock>
struct LogWatch {
  bool appeared = false;
  typename Clock::time_point lastEmpty{};
  typename Clock::time_point firstSeen{};
  std::string text;
};

// Reads the log every 20 ms until it holds something or the deadline has
// passed. After the first line it waits `settle` and reads once more, so a
// second request made straight after shows in `text`.
template <class Clock>
LogWatch<Clock> WatchPowerLog(const harness::TavrelProcess& app,
                              typename Clock::time_point deadline,
                              std::chrono::milliseconds settle = std::chrono::milliseconds(500)) {
  LogWatch<Clock> watch;
  for (;;) {
    const auto before = Clock::now();
    if (!app.PowerLog().empty()) {
      watch.appeared = true;
      watch.firstSeen = Clock::now();
      break;
    }
    watch.lastEmpty = before;
    if (before >= deadline) return watch;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::this_thread::sleep_for(settle);
  watch.text = app.PowerLog();
  return watch;
}

// Milliseconds from a moment to another, for readable failure messages.
template <class TimePoint>
long long MillisecondsFrom(TimePoint from, TimePoint to) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count();
}

}  // namespace power_log
