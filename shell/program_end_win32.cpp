#include <windows.h>

#include <string>

#include "shell/exit_routines.h"
#include "shell/fatal_error.h"
#include "shell/fatal_error_report.h"
#include "shell/program_end.h"
#include "shell/skin_step.h"
#include "window/main_window.h"

void EndProgram(int32_t exitCode) {
  DestroyProgramWindows();
  RunExitRoutines();
  UnloadOutsideLibraries();
  ExitProcess(static_cast<UINT>(exitCode));
}

void ReportFatalError(int32_t code, std::string_view message) {
  ReportFatalErrorWith(
      code, message,
      {[](const std::string& text) { MessageBoxA(nullptr, text.c_str(), "错误", MB_ICONERROR); },
       [](int32_t exitCode) { EndProgram(exitCode); }});
  // EndProgram does not return; this keeps the promise of [[noreturn]].
  ExitProcess(static_cast<UINT>(-1));
}
