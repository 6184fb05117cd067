// The program driven through its everyday events many times over: the window
// shown and hidden, the tray menu popped and closed, the pages switched, the
// command box copied and countdowns of 0 s run. What it holds of the
// system's objects must not grow, and it must still answer at the end.
// TAVREL_SOAK_SCALE sets the share of the full counts (1 in scripts/soak).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "reliability_driver.h"

namespace {

using namespace reliability;
using enum ControlName;

// Growth that no leak of one object per cycle stays under over hundreds of
// cycles, and that first-use caches of the system and Wine may take.
constexpr DWORD kObjectTolerance = 16;
constexpr DWORD kHandleTolerance = 16;
constexpr SIZE_T kPrivateTolerance = 4 * 1024 * 1024;

void ExpectNoGrowth(const ResourceCounts& before, const ResourceCounts& after) {
  SCOPED_TRACE("before: " + Describe(before) + "; after: " + Describe(after));
  // Without these two the test would measure nothing. The GUI counts may be
  // 0 on Wine; they are compared all the same, for Windows.
  ASSERT_GT(before.handles, 0u) << "no handle count from this system";
  ASSERT_GT(before.privateBytes, 0u) << "no memory count from this system";
  ASSERT_GT(before.windows, 0u);
  EXPECT_LE(after.windows, before.windows);
  EXPECT_LE(after.userObjects, before.userObjects + kObjectTolerance);
  EXPECT_LE(after.gdiObjects, before.gdiObjects + kObjectTolerance);
  EXPECT_LE(after.handles, before.handles + kHandleTolerance);
  EXPECT_LE(after.privateBytes, before.privateBytes + kPrivateTolerance);
}

void ExpectStillWorking(const TavrelProcess& app) {
  EXPECT_TRUE(app.Running());
  EXPECT_TRUE(app.Responds());
  if (!app.WindowVisible()) ShowByTray(app);
  app.SetText(CMD编辑框, "still here");
  EXPECT_EQ(app.Text(CMD编辑框), "still here");
}

class Soak : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app_.started());
    ASSERT_NE(app_.mainWindow(), nullptr);
  }

  // A few rounds before the first count, so that what the first use of each
  // path allocates once is not taken for growth.
  template <typename Cycle>
  void RunCycles(int fullCycles, Cycle cycle) {
    for (int i = 0; i < 3; ++i) {
      cycle(i);
      if (HasFatalFailure()) return;
    }
    const ResourceCounts before = CountResources(app_.processHandle());
    const int cycles = Cycles(fullCycles);
    for (int i = 0; i < cycles; ++i) {
      cycle(i);
      if (HasFatalFailure()) {
        ADD_FAILURE() << "at cycle " << i << " of " << cycles;
        return;
      }
    }
    const ResourceCounts after = CountResources(app_.processHandle());
    RecordProperty("cycles", cycles);
    std::printf("soak: %d cycles; before %s; after %s\n", cycles, Describe(before).c_str(),
                Describe(after).c_str());
    ExpectNoGrowth(before, after);
    ExpectStillWorking(app_);
  }

  TavrelProcess app_{DryRun()};
};

TEST_F(Soak, ShowAndHide) {
  RunCycles(1000, [&](int) {
    ShowByTray(app_);
    HideByClose(app_);
  });
}

TEST_F(Soak, TrayMenuClosedWithEscape) {
  RunCycles(500, [&](int) { PopMenuAndEscape(app_); });
}

TEST_F(Soak, PageSwitches) {
  ShowByTray(app_);
  RunCycles(200, [&](int i) { ShowPage(app_, (i + 1) % 2); });
}

TEST_F(Soak, CtrlCCopies) {
  app_.SetText(CMD编辑框, "cmd.exe /c echo \xB9\xD8\xBB\xFA");
  FocusCommandBox(app_);
  RunCycles(1000, [&](int) { CopyByCtrlC("cmd.exe /c echo \xB9\xD8\xBB\xFA"); });
}

TEST_F(Soak, DryRunCountdownsOfZeroSeconds) {
  // Power-off is checked at start; the dry-run program only logs it.
  ASSERT_TRUE(app_.Checked(关机单选框));
  int runs = 0;
  RunCycles(100, [&](int) {
    ASSERT_TRUE(CountdownActs(app_, "0"));
    ++runs;
  });
  EXPECT_EQ(CountLines(app_.PowerLog()), runs);
}

}  // namespace

namespace {

// The counts would hide a leak if they did not move: here this process
// takes handles and memory of its own and the counts must show it.
TEST(SoakCounts, SeeTheGrowthOfAProcess) {
  const ResourceCounts before = CountResources(GetCurrentProcess());
  std::vector<HANDLE> events;
  for (int i = 0; i < 64; ++i) events.push_back(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  constexpr SIZE_T kBlock = 16 * 1024 * 1024;
  void* block = VirtualAlloc(nullptr, kBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  ASSERT_NE(block, nullptr);
  memset(block, 1, kBlock);
  const ResourceCounts after = CountResources(GetCurrentProcess());
  EXPECT_GE(after.handles, before.handles + 64) << Describe(before) << " / " << Describe(after);
  EXPECT_GT(after.privateBytes, before.privateBytes + kPrivateTolerance)
      << Describe(before) << " / " << Describe(after);
  VirtualFree(block, 0, MEM_RELEASE);
  for (HANDLE event : events) CloseHandle(event);
}

}  // namespace
