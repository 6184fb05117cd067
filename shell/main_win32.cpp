// Start-up: the program's directory becomes the current directory, the one
// exit routine is registered, the skin library is looked for, MainWindow is
// built hidden, and the message loop runs until the program ends.
#include <windows.h>

#include <string>

#include "platform/message_queue.h"
#include "shell/exit_routines.h"
#include "shell/fatal_error.h"
#include "shell/program_end.h"
#include "shell/run_directory.h"
#include "shell/skin_step.h"
#include "window/main_window.h"

namespace {

std::string ProgramPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void RunMessageLoop() {
  MSG message;
  while (ProgramWindowExists() && GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (RunMessagePreTranslation(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const std::string runDirectory = DirectoryOfPath(ProgramPath());
  // From here on relative paths, including those in started command lines,
  // resolve against the program's own folder.
  SetCurrentDirectoryA(runDirectory.c_str());
  AddExitRoutine(FreeSkinLibraryPath);
  ResolveSkinLibraryPath("", runDirectory);
  SetMessagePreTranslation(PreTranslateMainWindowMessage);
  if (!BuildMainWindow(instance, runDirectory)) ReportFatalError(0, "载入启动窗口失败");
  RunMessageLoop();
  EndProgram(0);
}
