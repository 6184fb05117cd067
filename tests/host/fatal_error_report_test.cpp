#include "shell/fatal_error_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/exit_routines.h"
#include "shell/fatal_error_text.h"

namespace {

std::vector<std::string> gSteps;

// Stands for FreeSkinLibraryPath, the one routine the program adds.
void ReleasePath() { gSteps.push_back("exit routine"); }

class FatalErrorReportTest : public testing::Test {
 protected:
  void SetUp() override {
    gSteps.clear();
    ClearExitRoutines();
    AddExitRoutine(ReleasePath);
  }
  void TearDown() override { ClearExitRoutines(); }

  // The end as the program's EndProgram does it: it runs whatever the exit
  // routine list still holds.
  FatalErrorEnd End() {
    return {[](const std::string& text) { gSteps.push_back("message: " + text); },
            [](int32_t exitCode) {
              RunExitRoutines();
              gSteps.push_back("end " + std::to_string(exitCode));
            }};
  }
};

TEST_F(FatalErrorReportTest, ShowsTheMessageThenEndsWithMinusOneAndRunsNoExitRoutine) {
  ReportFatalErrorWith(6, "调用DLL命令后发现堆栈错误", End());
  EXPECT_EQ(gSteps, (std::vector<std::string>{
                        "message: " + FatalErrorText(6, "调用DLL命令后发现堆栈错误", kFatalErrorPlace),
                        "end -1"}));
}

TEST_F(FatalErrorReportTest, TheOrderlyEndStillRunsTheRoutineWithoutAnError) {
  // The same end without a fatal error runs the routine: the error is what
  // keeps it from running.
  End().endProgram(0);
  EXPECT_EQ(gSteps, (std::vector<std::string>{"exit routine", "end 0"}));
}

}  // namespace
