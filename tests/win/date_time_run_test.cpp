// "执行任务": an incomplete or impossible date and time brings a message and
// schedules nothing; otherwise the window hides and the selected option acts
// at the entered second. Power actions only through Tavrel-dryrun.exe.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "harness/tavrel_process.h"
#include "power_log.h"
#include "schedule/run_handlers.h"

namespace {

using harness::TavrelProcess;
using namespace std::chrono_literals;
using enum ControlName;

// The system clock as the program reads it (GetSystemTime), in FILETIME
// units of 100 ns since 1601-01-01 UTC.
struct WallClock {
  using rep = int64_t;
  using period = std::ratio<1, 10'000'000>;
  using duration = std::chrono::duration<rep, period>;
  using time_point = std::chrono::time_point<WallClock>;
  static constexpr bool is_steady = false;
  static time_point now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return time_point(
        duration((static_cast<int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime));
  }
};

// The start of the running second, as the program takes the moment of a click.
WallClock::time_point ThisSecond() {
  return std::chrono::floor<std::chrono::seconds>(WallClock::now());
}

SYSTEMTIME CalendarOf(WallClock::time_point moment) {
  const auto ticks = static_cast<uint64_t>(moment.time_since_epoch().count());
  const FILETIME fileTime{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME calendar{};
  FileTimeToSystemTime(&fileTime, &calendar);
  return calendar;
}

// The local wall time of a UTC moment under the system's own zone rules.
SYSTEMTIME LocalTimeOf(WallClock::time_point utc) {
  const SYSTEMTIME universal = CalendarOf(utc);
  SYSTEMTIME local{};
  SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local);
  return local;
}

// "２０２４" for "2024": the full-width digits A3 B0 to A3 B9.
std::string FullWidth(const std::string& digits) {
  std::string wide;
  for (char digit : digits) {
    wide += '\xA3';
    wide += static_cast<char>(0xB0 + (digit - '0'));
  }
  return wide;
}

void FillFields(const TavrelProcess& app, const SYSTEMTIME& at, bool fullWidth = false) {
  const auto text = [&](WORD value) {
    const std::string digits = std::to_string(value);
    return fullWidth ? FullWidth(digits) : digits;
  };
  app.SetText(年编辑框, text(at.wYear));
  app.SetText(月编辑框, text(at.wMonth));
  app.SetText(日编辑框, text(at.wDay));
  app.SetText(时编辑框, text(at.wHour));
  app.SetText(分编辑框, text(at.wMinute));
  app.SetText(秒编辑框, text(at.wSecond));
}

// Clicks "执行任务" and checks that the window hides and that exactly `line`
// comes no earlier than `target` and within its second, give or take Wine.
void ExpectRunActsAt(const TavrelProcess& app, WallClock::time_point target,
                     const std::string& line) {
  app.Click(执行按钮);
  EXPECT_TRUE(harness::WaitUntil([&] { return !app.WindowVisible(); }, 1000ms));
  const auto watch = power_log::WatchPowerLog<WallClock>(app, target + 3s);
  ASSERT_TRUE(watch.appeared) << "nothing requested by 3 s after the target";
  EXPECT_GE(watch.firstSeen, target)
      << "acted " << power_log::MillisecondsFrom(watch.firstSeen, target) << " ms early";
  EXPECT_GE(watch.lastEmpty, target - 150ms)
      << "acted " << power_log::MillisecondsFrom(watch.lastEmpty, target) << " ms early";
  EXPECT_EQ(watch.text, line);
}

// The message box of the program with the caption "信息：", once it shows.
HWND WaitForInformationBox(const TavrelProcess& app) {
  HWND box = nullptr;
  harness::WaitUntil(
      [&] {
        box = harness::FindMessageBox(app.processId(), "信息：");
        return box != nullptr && IsWindowVisible(box);
      },
      3s);
  return box;
}

// Presses OK and checks that the box goes and the window is usable again.
void PressOk(const TavrelProcess& app, HWND box) {
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(harness::WaitUntil([&] { return !IsWindow(box); }, 3s));
  EXPECT_TRUE(harness::WaitUntil([&] { return IsWindowEnabled(app.mainWindow()) != 0; }, 1s));
}

// The box of the program's one message: no owner, task-modal (the program's
// own windows are disabled while it shows), one OK button.
void ExpectInformationBox(const TavrelProcess& app, HWND box, const std::string& text) {
  ASSERT_NE(box, nullptr) << "no message box captioned \"信息：\"";
  EXPECT_EQ(harness::MessageBoxText(box), text);
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
  EXPECT_FALSE(IsWindowEnabled(app.mainWindow()));
  EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
  EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
  EXPECT_TRUE(app.WindowVisible());
}

TEST(DateTimeRun, EmptyFieldShowsTheMessageAndSchedulesNothing) {
  TavrelProcess app(power_log::DryRun());
  ASSERT_TRUE(app.started());
  ASSERT_TRUE(power_log::OpenWindow(app));
  // The other five keep their start-up values; without seconds the text
  // would read as a date and time, but an empty field is refused.
  app.SetText(秒编辑框, "");
  app.Click(执行按钮);
  HWND box = WaitForInformationBox(app);
  ExpectInformationBox(app, box,
                       "\xC7\xEB\xCA\xE4\xC8\xEB\xCD\xEA\xD5\xFB\xB5\xC4\xCA\xB1\xBC\xE4\xA3\xAC"
                       "\xC8\xE7\xB9\xFB\xD0\xE8\xD2\xAA\xC1\xA2\xBC\xB4\xD6\xB4\xD0\xD0\xA3\xAC"
                       "\xC7\xEB\xCA\xB9\xD3\xC3\xB2\xD9\xD7\xF7\xB2\xCB\xB5\xA5\xD1\xA1\xCF\xEE");
  if (!box) return;
  PressOk(app, box);
  std::this_thread::sleep_for(1000ms);
  EXPECT_TRUE(app.Responds());
  EXPECT_TRUE(app.WindowVisible());
  EXPECT_EQ(app.PowerLog(), "");
  EXPECT_EQ(app.Text(秒编辑框), "");
}

TEST(DateTimeRun, TargetAFewSecondsAheadActsAtThatSecond) {
  TavrelProcess app(power_log::DryRun());
  ASSERT_TRUE(app.started());
  ASSERT_TRUE(power_log::OpenWindow(app));
  power_log::SelectOnly(app, 休眠单选框);
  const auto target = ThisSecond() + 3s;
  FillFields(app, LocalTimeOf(target));
  ExpectRunActsAt(app, target, power_log::kSuspend.line);
  EXPECT_FALSE(app.WindowVisible());
  EXPECT_TRUE(app.Responds());
}

TEST(DateTimeRun, FullWidthFieldsAct) {
  TavrelProcess app(power_log::DryRun());
  ASSERT_TRUE(app.started());
  ASSERT_TRUE(power_log::OpenWindow(app));
  power_log::SelectOnly(app, 重启单选框);
  const auto target = ThisSecond() + 2s;
  FillFields(app, LocalTimeOf(target), true);
  ExpectRunActsAt(app, target, power_log::kRestart.line);
}

TEST(DateTimeRun, TargetInThePastActsAtOnce) {
  TavrelProcess app(power_log::DryRun());
  ASSERT_TRUE(app.started());
  ASSERT_TRUE(power_log::OpenWindow(app));
  power_log::SelectOnly(app, 注销单选框);
  FillFields(app, LocalTimeOf(ThisSecond() - 1h));
  const auto click = WallClock::now();
  app.Click(执行按钮);
  const auto watch = power_log::WatchPowerLog<WallClock>(app, click + 2s);
  ASSERT_TRUE(watch.appeared) << "a passed target did not act at once";
  EXPECT_EQ(watch.text, power_log::kLogOff.line);
  EXPECT_FALSE(app.WindowVisible());
}

struct RejectedEntry {
  const char* what;
  std::string month, day, hour;
};

TEST(DateTimeRun, RejectedTextShowsOurMessageAndNeverActs) {
  TavrelProcess app(power_log::DryRun());
  ASSERT_TRUE(app.started());
  ASSERT_TRUE(power_log::OpenWindow(app));
  const SYSTEMTIME today = LocalTimeOf(WallClock::now());
  const RejectedEntry entries[] = {
      {"hour 24", std::to_string(today.wMonth), std::to_string(today.wDay), "24"},
      {"30 February", "2", "30", "12"},
  };
  for (const RejectedEntry& entry : entries) {
    FillFields(app, today);
    app.SetText(月编辑框, entry.month);
    app.SetText(日编辑框, entry.day);
    app.SetText(时编辑框, entry.hour);
    app.Click(执行按钮);
    HWND box = WaitForInformationBox(app);
    ExpectInformationBox(app, box, std::string(kInvalidDateTimeMessage));
    if (!box) return;
    PressOk(app, box);
  }
  std::this_thread::sleep_for(1000ms);
  EXPECT_TRUE(app.WindowVisible());
  EXPECT_EQ(app.PowerLog(), "") << "a rejected text acted";
  // The program goes on: a valid entry after them acts.
  FillFields(app, LocalTimeOf(ThisSecond() - 1min));
  app.Click(执行按钮);
  const auto watch = power_log::WatchPowerLog<WallClock>(app, WallClock::now() + 2s);
  EXPECT_EQ(watch.text, power_log::kPowerOff.line);
}

}  // namespace
