#include "actions/power_request.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

class FakePowerPlatform : public PowerPlatform {
 public:
  bool ntFamily = true;
  bool privilegeGranted = true;
  bool platformAccepts = true;
  std::vector<std::string> calls;

  bool IsNtFamily() override {
    calls.push_back("IsNtFamily");
    return ntFamily;
  }
  bool EnableShutdownPrivilege() override {
    calls.push_back("EnableShutdownPrivilege");
    return privilegeGranted;
  }
  bool ExitWindowsEx(uint32_t flags, uint32_t reason) override {
    calls.push_back("ExitWindowsEx " + std::to_string(flags) + " " + std::to_string(reason));
    return platformAccepts;
  }
  bool SetSystemPowerState(bool suspend, bool force) override {
    calls.push_back(std::string("SetSystemPowerState suspend=") + (suspend ? "1" : "0") +
                    " force=" + (force ? "1" : "0"));
    return platformAccepts;
  }
};

struct FlagsCase {
  PowerAction action;
  bool force;
  bool ntFamily;
  uint32_t flags;
};

TEST(PowerRequestTest, ExitWindowsFlagsPerCodeAndFamily) {
  const FlagsCase cases[] = {
      {kPowerOff, true, true, 12},  {kPowerOff, true, false, 5}, {kPowerOff, false, true, 8},
      {kPowerOff, false, false, 1}, {kRestart, true, true, 6},   {kRestart, true, false, 6},
      {kRestart, false, true, 2},   {kLogOff, true, true, 4},    {kLogOff, true, false, 4},
      {kLogOff, false, false, 0},
  };
  for (const FlagsCase& c : cases) {
    EXPECT_EQ(ExitWindowsFlags(c.action, c.force, c.ntFamily), c.flags)
        << "action " << c.action << " force " << c.force << " nt " << c.ntFamily;
  }
}

struct RequestCase {
  PowerAction action;
  bool ntFamily;
  std::vector<std::string> calls;
};

TEST(PowerRequestTest, PrivilegeFirstThenTheOneCallOfTheCode) {
  const std::string reason = std::to_string(0x80000000u);
  const RequestCase cases[] = {
      {kPowerOff, true, {"EnableShutdownPrivilege", "IsNtFamily", "ExitWindowsEx 12 " + reason}},
      {kPowerOff, false, {"EnableShutdownPrivilege", "IsNtFamily", "ExitWindowsEx 5 " + reason}},
      {kRestart, true, {"EnableShutdownPrivilege", "ExitWindowsEx 6 " + reason}},
      {kRestart, false, {"EnableShutdownPrivilege", "ExitWindowsEx 6 " + reason}},
      {kLogOff, true, {"EnableShutdownPrivilege", "ExitWindowsEx 4 " + reason}},
      // Suspend, not hibernation.
      {kSuspend, true, {"EnableShutdownPrivilege", "SetSystemPowerState suspend=1 force=1"}},
      {kHibernate, true, {"EnableShutdownPrivilege", "SetSystemPowerState suspend=0 force=1"}},
  };
  for (const RequestCase& c : cases) {
    for (bool accepts : {true, false}) {
      FakePowerPlatform platform;
      platform.ntFamily = c.ntFamily;
      platform.platformAccepts = accepts;
      EXPECT_EQ(RequestPowerAction(c.action, true, platform), accepts) << "action " << c.action;
      EXPECT_EQ(platform.calls, c.calls) << "action " << c.action;
    }
  }
}

TEST(PowerRequestTest, ForceIsPassedToSetSystemPowerState) {
  FakePowerPlatform platform;
  EXPECT_TRUE(RequestPowerAction(kSuspend, false, platform));
  ASSERT_EQ(platform.calls.size(), 2u);
  EXPECT_EQ(platform.calls[1], "SetSystemPowerState suspend=1 force=0");
}

TEST(PowerRequestTest, WithoutThePrivilegeNothingIsRequested) {
  for (PowerAction action : {kPowerOff, kRestart, kLogOff, kSuspend, kHibernate}) {
    FakePowerPlatform platform;
    platform.privilegeGranted = false;
    EXPECT_FALSE(RequestPowerAction(action, true, platform)) << "action " << action;
    EXPECT_EQ(platform.calls, std::vector<std::string>{"EnableShutdownPrivilege"})
        << "action " << action;
  }
}

TEST(PowerRequestTest, CodesOutsideOneToFiveTouchNothing) {
  for (PowerAction action :
       {0, -1, 6, 7, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
    FakePowerPlatform platform;
    EXPECT_FALSE(RequestPowerAction(action, true, platform)) << "action " << action;
    EXPECT_TRUE(platform.calls.empty()) << "action " << action;
  }
}

}  // namespace
