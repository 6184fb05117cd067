#include "shell/exit_routines.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<ExitRoutine>& ExitRoutineList() {
  static std::vector<ExitRoutine> routines;
  return routines;
}

}  // namespace

void AddExitRoutine(ExitRoutine routine) {
  auto& routines = ExitRoutineList();
  if (routine == nullptr || std::ranges::find(routines, routine) != routines.end()) return;
  routines.push_back(routine);
}

void RunExitRoutines() {
  // Taken out of the list before any runs, so a routine that adds another
  // cannot make the loop run for ever, and the list is empty afterwards even
  // then.
  std::vector<ExitRoutine> routines;
  routines.swap(ExitRoutineList());
  for (ExitRoutine routine : routines) routine();
}

void ClearExitRoutines() { ExitRoutineList().clear(); }
