// "执行倒计时": the window hides at the click, the entered seconds pass, then
// the selected option acts. Power actions only through Tavrel-dryrun.exe,
// which writes them into power-requests.log instead.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include "harness/tavrel_process.h"
#include "power_log.h"

namespace {

using harness::TavrelProcess;
using power_log::PowerOption;
using Steady = std::chrono::steady_clock;
using namespace std::chrono_literals;
using enum ControlName;

// A countdown acts no earlier than its full time after the click, and at most
// this much later: the posted click, the handler's start and Wine's timer.
constexpr auto kLateBy = 2500ms;

// Starts a countdown of `seconds` and checks that the window hides and that
// exactly `line` comes, not before that time and not much after it.
void ExpectCountdownActs(const TavrelProcess& app, const std::string& text,
                         std::chrono::milliseconds seconds, const std::string& line) {
  app.SetText(倒计时编辑框, text);
  const auto click = Steady::now();
  app.Click(执行倒计时按钮);
  // Hidden at the click, before the wait.
  EXPECT_TRUE(harness::WaitUntil([&] { return !app.WindowVisible(); }, 1000ms));
  const auto watch = power_log::WatchPowerLog<Steady>(app, click + seconds + kLateBy);
  ASSERT_TRUE(watch.appeared) << "nothing requested within " << (seconds + kLateBy).count()
                              << " ms";
  EXPECT_GE(watch.firstSeen - click, seconds)
      << "acted after " << power_log::MillisecondsFrom(click, watch.firstSeen) << " ms";
  // The last empty reading lies just before the line, so the line was not
  // there early either.
  if (seconds > 0ms) {
    EXPECT_GE(watch.lastEmpty - click, seconds - 100ms)
        << "still empty at " << power_log::MillisecondsFrom(click, watch.lastEmpty) << " ms";
  }
  EXPECT_EQ(watch.text, line);
}

class CountdownPowerTest : public ::testing::TestWithParam<PowerOption> {};

TEST_P(CountdownPowerTest, HidesAtTheClickAndActsAfterTheEnteredTime) {
  TavrelProcess app(power_log::DryRun());
  ASSERT_TRUE(app.started());
  ASSERT_TRUE(power_log::OpenWindow(app));
  power_log::SelectOnly(app, GetParam().button);
  ExpectCountdownActs(app, "2", 2000ms, GetParam().line);
  // The run leaves the window hidden and the box as it was; the program goes on.
  EXPECT_FALSE(app.WindowVisible());
  EXPECT_TRUE(app.Responds());
  EXPECT_EQ(app.Text(倒计时编辑框), "2");
  EXPECT_TRUE(app.Checked(GetParam().button));
}

INSTANTIATE_TEST_SUITE_P(EachOption, CountdownPowerTest,
                         ::testing::Values(power_log::kPowerOff, power_log::kRestart,
                                           power_log::kLogOff, power_log::kSuspend),
                         [](const ::testing::TestParamInfo<PowerOption>& info) {
                           return std::string(info.param.name);
                         });

TEST(Countdown, EmptyBoxDoesNothing) {
  TavrelProcess app(power_log::DryRun());
  ASSERT_TRUE(app.started());
  ASSERT_TRUE(power_log::OpenWindow(app));
  app.SetText(倒计时编辑框, "");
  app.Click(执行倒计时按钮);
  // A sent message may be answered before the posted click is handled, so
  // the test gives the click its time first.
  std::this_thread::sleep_for(1000ms);
  EXPECT_TRUE(app.Responds());
  EXPECT_TRUE(app.WindowVisible());
  EXPECT_EQ(app.PowerLog(), "");
  EXPECT_FALSE(harness::FileExists(app.directory() + "\\power-requests.log"));
}

TEST(Countdown, TextWithoutANumberActsAtOnce) {
  TavrelProcess app(power_log::DryRun());
  ASSERT_TRUE(app.started());
  ASSERT_TRUE(power_log::OpenWindow(app));
  ExpectCountdownActs(app, "abc", 0ms, power_log::kPowerOff.line);
  EXPECT_FALSE(app.WindowVisible());
}

TEST(Countdown, FullWidthDigitsAndPointAreRead) {
  TavrelProcess app(power_log::DryRun());
  ASSERT_TRUE(app.started());
  ASSERT_TRUE(power_log::OpenWindow(app));
  power_log::SelectOnly(app, 重启单选框);
  // An ideographic space, then "１．５".
  ExpectCountdownActs(app, "\xA1\xA1\xA3\xB1\xA3\xAE\xA3\xB5", 1500ms, power_log::kRestart.line);
}

TEST(Countdown, CommandLineRunsInTheProgramsFolder) {
  TavrelProcess app(power_log::DryRun());
  ASSERT_TRUE(app.started());
  // A script in a folder below the program's, named by a relative path: only
  // the program's folder as current directory finds it, and it leaves its
  // mark in the directory it runs in.
  const std::string scripts = app.directory() + "\\scripts";
  CreateDirectoryA(scripts.c_str(), nullptr);
  harness::WriteFileText(scripts + "\\mark.cmd", "@echo off\r\necho %CD%> mark.txt\r\n");
  power_log::SelectOnly(app, CMD单选框);
  app.SetText(CMD编辑框, "cmd.exe /c scripts\\mark.cmd");
  app.SetText(倒计时编辑框, "1");
  const auto click = Steady::now();
  app.Click(执行倒计时按钮);
  const std::string mark = app.directory() + "\\mark.txt";
  ASSERT_TRUE(harness::WaitUntil([&] { return harness::FileExists(mark); }, 5s));
  EXPECT_GE(Steady::now() - click, 1s);
  ASSERT_TRUE(harness::WaitUntil(
      [&] { return harness::ReadFileText(mark).find('\n') != std::string::npos; }, 2s));
  EXPECT_EQ(harness::ReadFileText(mark), app.directory() + "\r\n");
  EXPECT_FALSE(harness::FileExists(app.directory() + "\\elsewhere\\mark.txt"));
  EXPECT_EQ(app.PowerLog(), "");
  EXPECT_EQ(app.Text(CMD编辑框), "cmd.exe /c scripts\\mark.cmd");
  EXPECT_TRUE(app.Responds());
}

TEST(Countdown, EmptyOrUnknownCommandFailsSilentlyAndTheProgramGoesOn) {
  TavrelProcess app(power_log::DryRun());
  ASSERT_TRUE(app.started());
  power_log::SelectOnly(app, CMD单选框);
  app.SetText(倒计时编辑框, "0");
  for (const char* command : {"", "no-such-program-4711.exe /x", "dir"}) {
    app.SetText(CMD编辑框, command);
    app.Click(执行倒计时按钮);
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(app.Responds()) << "[" << command << "]";
    EXPECT_TRUE(app.Running()) << "[" << command << "]";
    // No window of the program came up to tell about the failure.
    EXPECT_TRUE(harness::WindowsOfProcess(app.processId(), "#32770").empty())
        << "[" << command << "]";
  }
  EXPECT_EQ(app.PowerLog(), "");
  // A later countdown still acts.
  power_log::SelectOnly(app, 注销单选框);
  ExpectCountdownActs(app, "1", 1000ms, power_log::kLogOff.line);
}

TEST(Countdown, NoButtonCheckedEndsWithoutAction) {
  TavrelProcess app(power_log::DryRun());
  ASSERT_TRUE(app.started());
  ASSERT_TRUE(power_log::OpenWindow(app));
  for (ControlName button : {关机单选框, 重启单选框, 注销单选框, 休眠单选框, CMD单选框}) {
    app.SetChecked(button, false);
  }
  app.SetText(倒计时编辑框, "0");
  app.Click(执行倒计时按钮);
  ASSERT_TRUE(harness::WaitUntil([&] { return !app.WindowVisible(); }, 1500ms));
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(app.Responds());
  EXPECT_EQ(app.PowerLog(), "");
  EXPECT_FALSE(app.WindowVisible());
}

}  // namespace
