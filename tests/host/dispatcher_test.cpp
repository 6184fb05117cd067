#include "actions/dispatcher.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "actions_fakes.h"

namespace {

struct DispatchCase {
  const char* title;
  std::vector<ControlName> checkedButtons;
  EventLog expected;
};

void PrintTo(const DispatchCase& c, std::ostream* os) { *os << c.title; }

class DispatcherTest : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(DispatcherTest, FirstCheckedButtonDecidesAndLaterOnesAreNotRead) {
  const DispatchCase& c = GetParam();
  EventLog log;
  FakeControls controls(log);
  FakeActionCalls calls(log);
  for (ControlName button : c.checkedButtons) controls.checked[button] = 1;
  controls.texts[ControlName::CMD编辑框] = "notepad.exe";

  ExecuteSelectedAction(controls, calls);

  EXPECT_EQ(log, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, DispatcherTest,
    ::testing::Values(
        DispatchCase{"PowerOff", {ControlName::关机单选框}, {"checked? 关机", "power 1 forced"}},
        DispatchCase{"Restart",
                     {ControlName::重启单选框},
                     {"checked? 关机", "checked? 重启", "power 2 forced"}},
        DispatchCase{"LogOff",
                     {ControlName::注销单选框},
                     {"checked? 关机", "checked? 重启", "checked? 注销", "power 3 forced"}},
        DispatchCase{
            "Suspend",
            {ControlName::休眠单选框},
            {"checked? 关机", "checked? 重启", "checked? 注销", "checked? 休眠", "power 4 forced"}},
        DispatchCase{"Command",
                     {ControlName::CMD单选框},
                     {"checked? 关机", "checked? 重启", "checked? 注销", "checked? 休眠",
                      "checked? CMD", "text? CMD编辑框", "start [notepad.exe] nowait"}},
        DispatchCase{"PowerOffBeatsCommand",
                     {ControlName::CMD单选框, ControlName::关机单选框},
                     {"checked? 关机", "power 1 forced"}},
        DispatchCase{"RestartBeatsSuspend",
                     {ControlName::休眠单选框, ControlName::重启单选框},
                     {"checked? 关机", "checked? 重启", "power 2 forced"}},
        DispatchCase{"LogOffBeatsSuspendAndCommand",
                     {ControlName::CMD单选框, ControlName::休眠单选框, ControlName::注销单选框},
                     {"checked? 关机", "checked? 重启", "checked? 注销", "power 3 forced"}},
        DispatchCase{
            "SuspendBeatsCommand",
            {ControlName::CMD单选框, ControlName::休眠单选框},
            {"checked? 关机", "checked? 重启", "checked? 注销", "checked? 休眠", "power 4 forced"}},
        DispatchCase{
            "NothingChecked",
            {},
            {"checked? 关机", "checked? 重启", "checked? 注销", "checked? 休眠", "checked? CMD"}}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(DispatcherCommandTest, PassesTheBoxTextUnchanged) {
  for (const std::string& text : {std::string("  cmd /c dir  \r\nsecond line\r\n"), std::string(),
                                  std::string("\xB9\xD8\xBB\xFA.exe \"a b\"")}) {
    EventLog log;
    FakeControls controls(log);
    FakeActionCalls calls(log);
    controls.checked[ControlName::CMD单选框] = 1;
    controls.texts[ControlName::CMD编辑框] = text;

    ExecuteSelectedAction(controls, calls);

    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "start [" + text + "] nowait");
  }
}

}  // namespace
