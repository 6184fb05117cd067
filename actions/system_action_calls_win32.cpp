#include "actions/system_action_calls_win32.h"

#include "actions/power_request.h"
#include "platform/process.h"

bool SystemActionCalls::RequestPowerAction(PowerAction action, bool force) {
  return ::RequestPowerAction(action, force, platform_);
}

bool SystemActionCalls::StartProgram(const std::string& commandLine, bool wait) {
  return ::StartProgram(commandLine, wait);
}
