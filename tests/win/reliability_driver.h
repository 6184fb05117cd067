#pragma once
// What the soak, bad-input and fault tests do to a running program again and
// again, and the resource counts they compare before and after.

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "harness/tavrel_process.h"
#include "window/window_declaration.h"

namespace reliability {

using harness::TavrelProcess;

// What the process holds of the system's objects. Wine 8 answers
// GetGuiResources with 0, GetProcessHandleCount with 0 and PrivateUsage with
// 0; the handles then come from the system's handle table, the memory from
// the commit charge (what PrivateUsage is on Windows), and the windows of the
// process stand in for its USER objects.
struct ResourceCounts {
  DWORD userObjects = 0;
  DWORD gdiObjects = 0;
  DWORD windows = 0;
  DWORD handles = 0;
  SIZE_T privateBytes = 0;
};

// The handles of the process in the system's handle table
// (SystemHandleInformation), or 0 when the system does not give it.
inline DWORD HandlesInSystemTable(DWORD processId) {
  struct Entry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ULONG access;
  };
  struct Table {
    ULONG count;
    Entry entries[1];
  };
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return 0;
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
  std::vector<char> buffer(1 << 16);
  ULONG length = 0;
  LONG status;
  while ((status = query(kSystemHandleInformation, buffer.data(),
                         static_cast<ULONG>(buffer.size()), &length)) == kInfoLengthMismatch) {
    buffer.resize(buffer.size() * 2);
  }
  if (status != 0) return 0;
  const auto* table = reinterpret_cast<const Table*>(buffer.data());
  DWORD count = 0;
  for (ULONG i = 0; i < table->count; ++i) count += table->entries[i].ownerPid == processId;
  return count;
}

inline BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<DWORD*>(count);
  return TRUE;
}

struct WindowCountContext {
  DWORD processId;
  DWORD count;
};

// A named callback: on 32-bit Windows a lambda does not convert to the
// stdcall pointer that EnumWindows takes.
inline BOOL CALLBACK CountWindowOfProcess(HWND window, LPARAM raw) {
  auto* context = reinterpret_cast<WindowCountContext*>(raw);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != context->processId) return TRUE;
  ++context->count;
  EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&context->count));
  return TRUE;
}

inline DWORD WindowsOfProcessAndChildren(DWORD processId) {
  WindowCountContext context{processId, 0};
  EnumWindows(CountWindowOfProcess, reinterpret_cast<LPARAM>(&context));
  return context.count;
}

inline ResourceCounts CountResources(HANDLE process) {
  ResourceCounts counts;
  counts.userObjects = GetGuiResources(process, GR_USEROBJECTS);
  counts.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
  counts.windows = WindowsOfProcessAndChildren(GetProcessId(process));
  if (!GetProcessHandleCount(process, &counts.handles) || counts.handles == 0) {
    counts.handles = HandlesInSystemTable(GetProcessId(process));
  }
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof memory)) {
    counts.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
  }
  return counts;
}

inline std::string Describe(const ResourceCounts& counts) {
  return "USER " + std::to_string(counts.userObjects) + ", GDI " +
         std::to_string(counts.gdiObjects) + ", windows " + std::to_string(counts.windows) +
         ", handles " + std::to_string(counts.handles) +
         ", private " + std::to_string(counts.privateBytes / 1024) + " KiB";
}

// How much of a soak to run: TAVREL_SOAK_SCALE times the full count, at least
// once. scripts/soak sets 1; without the variable a run is short, as in
// scripts/test.
inline double SoakScale() {
  const char* text = std::getenv("TAVREL_SOAK_SCALE");
  const double scale = text ? std::atof(text) : 0.0;
  return scale > 0.0 ? scale : 0.03;
}

inline int Cycles(int full) {
  const int scaled = static_cast<int>(full * SoakScale());
  return scaled < 1 ? 1 : scaled;
}

inline HWND VisibleMenu() {
  HWND menu = FindWindowA("#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

inline void ShowByTray(const TavrelProcess& app) {
  app.SendTrayMouse(WM_LBUTTONDBLCLK);
  ASSERT_TRUE(harness::WaitUntil([&] { return app.WindowVisible(); })) << "window not shown";
}

inline void HideByClose(const TavrelProcess& app) {
  PostMessageA(app.mainWindow(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(harness::WaitUntil([&] { return !app.WindowVisible(); })) << "window not hidden";
}

inline void PopMenuAndEscape(const TavrelProcess& app) {
  app.SendTrayMouse(WM_RBUTTONUP);
  HWND menu = nullptr;
  ASSERT_TRUE(harness::WaitUntil([&] { return (menu = VisibleMenu()) != nullptr; }))
      << "menu did not pop up";
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(harness::WaitUntil([&] { return VisibleMenu() == nullptr; })) << "menu stayed";
  // The menu's handler returns only after the menu has gone.
  ASSERT_TRUE(app.Responds());
}

// The tab control notifies its parent only for a change of focus.
inline void ShowPage(const TavrelProcess& app, int page) {
  SendMessageA(app.control(ControlName::选择夹1), TCM_SETCURFOCUS, page, 0);
  const ControlName shown = page == 1 ? ControlName::CMD编辑框 : ControlName::年编辑框;
  ASSERT_TRUE(harness::WaitUntil([&] { return IsWindowVisible(app.control(shown)) != 0; }))
      << "page " << page << " not shown";
}

inline HWND FocusOf(const TavrelProcess& app) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(app.mainWindow(), nullptr), &info);
  return info.hwndFocus;
}

// The window shown on the CMD page with the focus in its box, in front, so
// that keys typed on the keyboard reach the box.
inline void FocusCommandBox(const TavrelProcess& app) {
  if (!app.WindowVisible()) ShowByTray(app);
  ShowPage(app, 1);
  HWND box = app.control(ControlName::CMD编辑框);
  const DWORD thread = GetWindowThreadProcessId(app.mainWindow(), nullptr);
  AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
  SetForegroundWindow(app.mainWindow());
  SetFocus(box);
  AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
  ASSERT_TRUE(harness::WaitUntil([&] { return FocusOf(app) == box; })) << "no focus in the box";
}

inline void PressCtrlC() {
  INPUT inputs[4] = {};
  const WORD keys[4] = {VK_CONTROL, 'C', 'C', VK_CONTROL};
  for (int i = 0; i < 4; ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = keys[i];
    inputs[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(4, inputs, sizeof(INPUT));
}

inline bool PutClipboardText(const std::string& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  bool done = false;
  if (void* bytes = memory ? GlobalLock(memory) : nullptr) {
    memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    done = SetClipboardData(CF_TEXT, memory) != nullptr;
  }
  if (!done && memory) GlobalFree(memory);
  CloseClipboard();
  return done;
}

inline std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = bytes;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// One Ctrl+C in the focused command box, seen on the clipboard. The test
// waits on the clipboard's sequence number, not by opening it: an open
// clipboard is exactly what makes the program's copy fail.
inline void CopyByCtrlC(const std::string& boxText) {
  ASSERT_TRUE(PutClipboardText("-"));
  const DWORD sequence = GetClipboardSequenceNumber();
  PressCtrlC();
  ASSERT_TRUE(harness::WaitUntil([&] { return GetClipboardSequenceNumber() != sequence; }))
      << "Ctrl+C did not copy";
  ASSERT_EQ(ClipboardText(), boxText);
}

inline harness::StartOptions DryRun() {
  harness::StartOptions options;
  options.program = "Tavrel-dryrun.exe";
  return options;
}

inline int CountLines(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

// A countdown of the text, as the button runs it; true when the dry-run
// program logged one more power request within the time.
inline bool CountdownActs(const TavrelProcess& app, const std::string& text,
                          std::chrono::milliseconds within = std::chrono::seconds(10)) {
  const int before = CountLines(app.PowerLog());
  app.SetText(ControlName::倒计时编辑框, text);
  app.Click(ControlName::执行倒计时按钮);
  return harness::WaitUntil([&] { return CountLines(app.PowerLog()) == before + 1; }, within);
}

}  // namespace reliability
