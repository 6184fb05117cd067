#include "harness/tavrel_process.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "window/radio_check_win32.h"
#include "window/window_declaration.h"

namespace harness {

namespace {

std::string ModuleDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string text(path);
  return text.substr(0, text.find_last_of('\\'));
}

std::string TestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "outside";
  for (char& c : name) {
    if (c == '/' || c == '\\' || c == ':') c = '_';
  }
  return name;
}

void RemoveTree(const std::string& directory) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = directory + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryA(directory.c_str());
}

struct FindContext {
  DWORD processId;
  const char* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  auto* find = reinterpret_cast<FindContext*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[128] = {};
  GetClassNameA(window, name, sizeof name);
  if (owner == find->processId && lstrcmpA(name, find->className) == 0) find->found.push_back(window);
  return TRUE;
}

}  // namespace

std::string BuildDirectory() { return ModuleDirectory(); }

std::string FreshTestDirectory(const std::string& suffix) {
  const std::string root = BuildDirectory() + "\\test-runs";
  CreateDirectoryA(root.c_str(), nullptr);
  const std::string directory = root + "\\" + TestName() + suffix;
  RemoveTree(directory);
  CreateDirectoryA(directory.c_str(), nullptr);
  return directory;
}

bool CopyInto(const std::string& source, const std::string& directory, const std::string& name) {
  std::string target = name;
  if (target.empty()) target = source.substr(source.find_last_of('\\') + 1);
  return CopyFileA(source.c_str(), (directory + "\\" + target).c_str(), FALSE) != 0;
}

std::string ReadFileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFileText(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::vector<HWND> WindowsOfProcess(DWORD processId, const char* className) {
  FindContext context{processId, className, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&context));
  return context.found;
}

HWND FindMessageBox(DWORD processId, const std::string& caption) {
  for (HWND box : WindowsOfProcess(processId, "#32770")) {
    char text[256] = {};
    GetWindowTextA(box, text, sizeof text);
    if (caption == text) return box;
  }
  return nullptr;
}

std::string MessageBoxText(HWND box) {
  char text[4096] = {};
  SendDlgItemMessageA(box, 0xFFFF, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

TavrelProcess::TavrelProcess(StartOptions options) {
  directory_ = options.directory.empty() ? FreshTestDirectory() : options.directory;
  if (!CopyInto(BuildDirectory() + "\\" + options.program, directory_)) {
    ADD_FAILURE() << "cannot copy " << options.program << " into " << directory_;
    return;
  }
  std::string workingDirectory = options.workingDirectory;
  if (workingDirectory.empty()) {
    // Started from somewhere else, as from a shortcut: the program must not
    // depend on the directory it was started in.
    workingDirectory = directory_ + "\\elsewhere";
    CreateDirectoryA(workingDirectory.c_str(), nullptr);
  }
  std::string commandLine = "\"" + directory_ + "\\" + options.program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingDirectory.c_str(), &startup, &info)) {
    ADD_FAILURE() << "cannot start " << commandLine << ": error " << GetLastError();
    return;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
  if (!options.waitForWindow) return;
  // Idle means the message loop waits for input: the creation handler has run
  // to its end. (A sent message may be answered earlier, while the handler
  // itself waits on the notification area.)
  WaitForInputIdle(process_, 15000);
  WaitUntil([&] {
    const auto windows = WindowsOfProcess(processId_, "TavrelMainWindow");
    if (!windows.empty()) mainWindow_ = windows.front();
    return mainWindow_ != nullptr;
  });
  if (!mainWindow_) {
    ADD_FAILURE() << "MainWindow of " << options.program << " did not appear";
    return;
  }
  // Idle is not enough when the notification area is only starting: the
  // program then waits inside Shell_NotifyIcon, which counts as idle. The
  // countdown box is written right after the tray icon, as the creation
  // handler's last write, so its text tells that the handler is through.
  if (!WaitUntil([&] { return !Text(ControlName::倒计时编辑框).empty(); }, std::chrono::seconds(20))) {
    ADD_FAILURE() << "the creation handler of " << options.program << " did not finish";
  }
}

TavrelProcess::~TavrelProcess() {
  Kill();
  if (process_) CloseHandle(process_);
}

HWND TavrelProcess::control(ControlName name) const {
  HWND tab = GetDlgItem(mainWindow_, kFirstControlId + static_cast<int>(ControlName::选择夹1));
  if (name == ControlName::选择夹1) return tab;
  return GetDlgItem(tab, kFirstControlId + static_cast<int>(name));
}

bool TavrelProcess::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

DWORD TavrelProcess::WaitForExit(std::chrono::milliseconds timeout) const {
  if (!process_) return STILL_ACTIVE;
  WaitForSingleObject(process_, static_cast<DWORD>(timeout.count()));
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_, &code);
  return code;
}

void TavrelProcess::Kill() {
  if (Running()) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
}

std::string TavrelProcess::Text(ControlName box) const {
  HWND handle = control(box);
  const LRESULT length = SendMessageA(handle, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied =
      SendMessageA(handle, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied));
  return text;
}

void TavrelProcess::SetText(ControlName box, const std::string& text) const {
  SendMessageA(control(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool TavrelProcess::Checked(ControlName button) const {
  return SendMessageA(control(button), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// As the program writes a checked state: this button alone changes, which is
// how the tests set up two checked buttons at once.
void TavrelProcess::SetChecked(ControlName button, bool checked) const {
  WriteButtonCheckedAlone(control(button), checked);
}

void TavrelProcess::Click(ControlName button) const { PostMessageA(control(button), BM_CLICK, 0, 0); }

bool TavrelProcess::WindowVisible() const { return IsWindowVisible(mainWindow_) != 0; }

void TavrelProcess::SendTrayMouse(UINT mouseMessage) const {
  PostMessageA(mainWindow_, WM_APP + 100, 100, mouseMessage);
}

void TavrelProcess::ChooseMenuItem(int position) const {
  PostMessageA(mainWindow_, WM_COMMAND, static_cast<WPARAM>(kMenuCommandBase + position), 0);
}

bool TavrelProcess::Responds(std::chrono::milliseconds timeout) const {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(mainWindow_, WM_NULL, 0, 0, SMTO_NORMAL,
                             static_cast<UINT>(timeout.count()), &result) != 0;
}

std::string TavrelProcess::PowerLog() const {
  return ReadFileText(directory_ + "\\power-requests.log");
}

}  // namespace harness
