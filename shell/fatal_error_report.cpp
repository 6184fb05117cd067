#include "shell/fatal_error_report.h"

#include "shell/exit_routines.h"
#include "shell/fatal_error_text.h"

void ReportFatalErrorWith(int32_t code, std::string_view message, const FatalErrorEnd& end) {
  end.showMessage(FatalErrorText(code, message, kFatalErrorPlace));
  ClearExitRoutines();
  end.endProgram(-1);
}
