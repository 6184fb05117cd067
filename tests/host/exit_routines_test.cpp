#include "shell/exit_routines.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string g_calls;

void RoutineA() { g_calls += 'A'; }
void RoutineB() { g_calls += 'B'; }
void RoutineC() { g_calls += 'C'; }

class ExitRoutinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearExitRoutines();
    g_calls.clear();
  }
  void TearDown() override { ClearExitRoutines(); }
};

TEST_F(ExitRoutinesTest, RunsInTheOrderAdded) {
  AddExitRoutine(RoutineB);
  AddExitRoutine(RoutineA);
  AddExitRoutine(RoutineC);
  RunExitRoutines();
  EXPECT_EQ(g_calls, "BAC");
}

TEST_F(ExitRoutinesTest, ARoutineAddedTwiceRunsOnceInItsFirstPlace) {
  AddExitRoutine(RoutineA);
  AddExitRoutine(RoutineB);
  AddExitRoutine(RoutineA);
  AddExitRoutine(RoutineB);
  RunExitRoutines();
  EXPECT_EQ(g_calls, "AB");
}

TEST_F(ExitRoutinesTest, TheListIsEmptyAfterARun) {
  AddExitRoutine(RoutineA);
  RunExitRoutines();
  RunExitRoutines();
  EXPECT_EQ(g_calls, "A");

  // Emptied, not merely marked as run: the same routine can be added anew.
  AddExitRoutine(RoutineA);
  RunExitRoutines();
  EXPECT_EQ(g_calls, "AA");
}

TEST_F(ExitRoutinesTest, ClearingRunsNothingAndEmptiesTheList) {
  AddExitRoutine(RoutineA);
  AddExitRoutine(RoutineB);
  ClearExitRoutines();
  EXPECT_EQ(g_calls, "");
  RunExitRoutines();
  EXPECT_EQ(g_calls, "");
}

TEST_F(ExitRoutinesTest, RunningAnEmptyListDoesNothing) {
  RunExitRoutines();
  EXPECT_EQ(g_calls, "");
}

}  // namespace
