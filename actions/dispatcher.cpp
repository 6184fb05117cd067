#include "actions/dispatcher.h"

#include <array>
#include <utility>

namespace {

// In the order they are read: a button is read only when all before it read 0.
constexpr std::array<std::pair<ControlName, PowerAction>, 4> kPowerButtons{{
    {ControlName::关机单选框, kPowerOff},
    {ControlName::重启单选框, kRestart},
    {ControlName::注销单选框, kLogOff},
    {ControlName::休眠单选框, kSuspend},
}};

}  // namespace

void ExecuteSelectedAction(const Controls& controls, ActionCalls& calls) {
  for (const auto& [button, action] : kPowerButtons) {
    if (controls.ReadChecked(button) == 1) {
      // Power actions are always forced: the user asked for them, unattended.
      calls.RequestPowerAction(action, true);
      return;
    }
  }
  if (controls.ReadChecked(ControlName::CMD单选框) == 1) {
    // Passed as typed, line breaks and surrounding blanks included.
    calls.StartProgram(controls.ReadText(ControlName::CMD编辑框), false);
  }
}
