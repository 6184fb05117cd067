#include "actions/tray_menu_actions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "actions_fakes.h"

namespace {

struct PowerItemCase {
  ControlName itemButton;
  const char* writes[5];
  const char* request;
};

EventLog ExpectedPowerItemLog(const PowerItemCase& c, const EventLog& pumpAndDispatch) {
  EventLog expected(std::begin(c.writes), std::end(c.writes));
  expected.insert(expected.end(), pumpAndDispatch.begin(), pumpAndDispatch.end());
  return expected;
}

TEST(TrayMenuActionsTest, PowerItemWritesAllFiveThenPumpsThenActs) {
  const PowerItemCase cases[] = {
      {ControlName::关机单选框,
       {"checked= 注销 0", "checked= 关机 1", "checked= 重启 0", "checked= 休眠 0",
        "checked= CMD 0"},
       "power 1 forced"},
      {ControlName::重启单选框,
       {"checked= 注销 0", "checked= 关机 0", "checked= 重启 1", "checked= 休眠 0",
        "checked= CMD 0"},
       "power 2 forced"},
      {ControlName::注销单选框,
       {"checked= 注销 1", "checked= 关机 0", "checked= 重启 0", "checked= 休眠 0",
        "checked= CMD 0"},
       "power 3 forced"},
      {ControlName::休眠单选框,
       {"checked= 注销 0", "checked= 关机 0", "checked= 重启 0", "checked= 休眠 1",
        "checked= CMD 0"},
       "power 4 forced"},
  };
  for (const PowerItemCase& c : cases) {
    EventLog log;
    FakeControls controls(log);
    FakeMessageSource source(log, 40000, 30);
    FakeActionCalls calls(log);
    // Whatever was selected before, CMD included, gives way to the item.
    controls.checked[ControlName::CMD单选框] = 1;

    RunPowerMenuItem(c.itemButton, controls, source, calls);

    // 100 ms at 30 ms a reading: 30, 60, 90 are within, 120 is past.
    const EventLog pump{"tick", "peek", "peek", "tick", "peek", "peek", "peek", "peek",
                        "tick", "peek", "peek", "peek", "peek", "tick", "peek", "peek",
                        "peek", "peek", "tick"};
    EventLog expected = ExpectedPowerItemLog(c, pump);
    // The dispatcher then reads the buttons in its order up to the item's own.
    for (ControlName button : {ControlName::关机单选框, ControlName::重启单选框,
                               ControlName::注销单选框, ControlName::休眠单选框}) {
      expected.push_back("checked? " + NameOf(button));
      if (button == c.itemButton) break;
    }
    expected.push_back(c.request);
    EXPECT_EQ(log, expected) << NameOf(c.itemButton);
    EXPECT_EQ(source.readings.back() - 40000u, 120u);

    for (ControlName button :
         {ControlName::关机单选框, ControlName::重启单选框, ControlName::注销单选框,
          ControlName::休眠单选框, ControlName::CMD单选框}) {
      EXPECT_EQ(controls.checked[button], button == c.itemButton ? 1 : 0)
          << NameOf(c.itemButton) << " leaves " << NameOf(button);
    }
  }
}

TEST(TrayMenuActionsTest, SelectionMovedDuringThePumpDecidesTheAction) {
  EventLog log;
  FakeControls controls(log);
  FakeMessageSource source(log, 0, 10);
  FakeActionCalls calls(log);
  // A click on "关机单选框" that arrives while "重启" waits out its 100 ms.
  source.ArriveAt(50, {PendingMessage::kOther, "click", [&] {
                         controls.WriteChecked(ControlName::重启单选框, 0);
                         controls.WriteChecked(ControlName::关机单选框, 1);
                       }});

  RunPowerMenuItem(ControlName::重启单选框, controls, source, calls);

  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "power 1 forced");
  EXPECT_EQ(std::count(log.begin(), log.end(), "power 1 forced"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "power 2 forced"), 0);
}

TEST(TrayMenuActionsTest, PowerItemActsEvenWithAQuitQueued) {
  EventLog log;
  FakeControls controls(log);
  FakeMessageSource source(log, 0, 25);
  FakeActionCalls calls(log);
  source.Queue({PendingMessage::kQuit, "WM_QUIT", nullptr});

  RunPowerMenuItem(ControlName::注销单选框, controls, source, calls);

  EXPECT_EQ(source.Front(), PendingMessage::kQuit);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "power 3 forced");
}

struct LockCase {
  const char* title;
  std::string systemDirectory;
  std::string commandLine;
};

TEST(TrayMenuActionsTest, LockStartsTheSystemsOwnRundll32) {
  const LockCase cases[] = {
      {"trailing backslash", "C:\\WINDOWS\\system32\\",
       "C:\\WINDOWS\\system32\\rundll32.exe user32.dll,LockWorkStation"},
      {"no trailing backslash", "C:\\WINDOWS\\system32",
       "C:\\WINDOWS\\system32\\rundll32.exe user32.dll,LockWorkStation"},
      {"blank in the path", "D:\\Win NT\\system32\\",
       "\"D:\\Win NT\\system32\\rundll32.exe\" user32.dll,LockWorkStation"},
      // The last character is the GBK character 0x955C, whose trail byte is
      // the same byte as a backslash: a separator is still needed.
      {"trail byte 0x5C", "D:\\\x95\x5C", "D:\\\x95\x5C\\rundll32.exe user32.dll,LockWorkStation"},
      {"trail byte 0x5C before a real backslash", "D:\\\x95\x5C\\",
       "D:\\\x95\x5C\\rundll32.exe user32.dll,LockWorkStation"},
  };
  for (const LockCase& c : cases) {
    EventLog log;
    FakeActionCalls calls(log);

    RunLockMenuItem(c.systemDirectory, calls);

    EXPECT_EQ(log, EventLog{"start [" + c.commandLine + "] nowait"}) << c.title;
  }
}

TEST(TrayMenuActionsTest, LockWithoutASystemDirectoryStartsNothing) {
  // A bare "rundll32.exe" is the very name a planted file would answer to.
  EventLog log;
  FakeActionCalls calls(log);

  RunLockMenuItem("", calls);

  EXPECT_TRUE(log.empty());
}

}  // namespace
