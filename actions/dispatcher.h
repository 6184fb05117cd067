#pragma once
// ExecuteSelectedAction: the end of every road to an action. It reads the five
// radio buttons at the moment of the call and makes at most one request.

#include <string>

#include "actions/power_request.h"
#include "window/controls.h"

// The two operations that carry an action; the program ignores both results.
class ActionCalls {
 public:
  virtual ~ActionCalls() = default;
  virtual bool RequestPowerAction(PowerAction action, bool force) = 0;
  virtual bool StartProgram(const std::string& commandLine, bool wait) = 0;
};

// The first checked button in the order 关机, 重启, 注销, 休眠, CMD decides;
// with none checked nothing happens.
void ExecuteSelectedAction(const Controls& controls, ActionCalls& calls);
