#pragma once
// Starts a copy of the real program in a folder of the test's own and drives
// it from this process, the way a user's clicks and keys would reach it.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "window/controls.h"

namespace harness {

// The folder of the test binary, where the build put the programs.
std::string BuildDirectory();
// A fresh, empty folder for the running test, below the build folder.
std::string FreshTestDirectory(const std::string& suffix = "");
bool CopyInto(const std::string& source, const std::string& directory, const std::string& name = "");
std::string ReadFileText(const std::string& path);
bool FileExists(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);

// Polls until the condition holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

struct StartOptions {
  std::string program = "Tavrel.exe";  // or "Tavrel-dryrun.exe"
  std::string directory;               // where the copy runs; fresh when empty
  std::string workingDirectory;        // the start's current directory; another folder when empty
  bool waitForWindow = true;
};

class TavrelProcess {
 public:
  explicit TavrelProcess(StartOptions options = {});
  ~TavrelProcess();
  TavrelProcess(const TavrelProcess&) = delete;
  TavrelProcess& operator=(const TavrelProcess&) = delete;

  bool started() const { return process_ != nullptr; }
  const std::string& directory() const { return directory_; }
  DWORD processId() const { return processId_; }
  HANDLE processHandle() const { return process_; }
  HWND mainWindow() const { return mainWindow_; }
  HWND control(ControlName name) const;

  bool Running() const;
  // Waits for the end of the process; the exit code, or STILL_ACTIVE.
  DWORD WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
  void Kill();

  // The control properties as another process sees them.
  std::string Text(ControlName box) const;
  void SetText(ControlName box, const std::string& text) const;
  bool Checked(ControlName button) const;
  void SetChecked(ControlName button, bool checked) const;
  // A click that does not wait for the handler, which may block for long.
  void Click(ControlName button) const;
  bool WindowVisible() const;

  // The tray icon's callback, as the notification area sends it.
  void SendTrayMouse(UINT mouseMessage) const;
  // Chooses a TrayMenu item by its command, as the menu itself would.
  void ChooseMenuItem(int position) const;
  // True when the window's thread is free to answer a sent message, that is
  // when no handler of the program is blocking it.
  bool Responds(std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

  std::string PowerLog() const;

 private:
  std::string directory_;
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND mainWindow_ = nullptr;
};

// The top-level windows of a process with the given class name.
std::vector<HWND> WindowsOfProcess(DWORD processId, const char* className);
// A message box of the process with the caption, or NULL.
HWND FindMessageBox(DWORD processId, const std::string& caption);
std::string MessageBoxText(HWND box);

}  // namespace harness
