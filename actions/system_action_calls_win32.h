#pragma once
// The ActionCalls that act on this computer: power requests through the real
// PowerPlatform, command lines through CreateProcessA.

#include "actions/dispatcher.h"
#include "platform/power.h"

class SystemActionCalls final : public ActionCalls {
 public:
  bool RequestPowerAction(PowerAction action, bool force) override;
  bool StartProgram(const std::string& commandLine, bool wait) override;

 private:
  WindowsPowerPlatform platform_;
};
