// Start-up, the hidden window with its settings, the tray icon's events and
// the ways the program ends.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "harness/tavrel_process.h"
#include "window/window_declaration.h"

namespace {

using harness::TavrelProcess;
using enum ControlName;

constexpr UINT kLeftUp = WM_LBUTTONUP;
constexpr UINT kLeftDoubleClick = WM_LBUTTONDBLCLK;
constexpr UINT kRightUp = WM_RBUTTONUP;

HWND OpenPopupMenu() {
  HWND menu = nullptr;
  harness::WaitUntil([&] {
    menu = FindWindowA("#32768", nullptr);
    return menu != nullptr && IsWindowVisible(menu);
  });
  return menu;
}

TEST(StartUp, WindowIsBuiltHiddenWithItsSettings) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  HWND window = app.mainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(app.WindowVisible());

  char caption[64] = {};
  GetWindowTextA(window, caption, sizeof caption);
  EXPECT_STREQ(caption, "Tavrel.");

  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_CLIPCHILDREN);
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetMenu(window), nullptr);

  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.right - frame.left, 380);
  EXPECT_EQ(frame.bottom - frame.top, 250);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 380) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - 250) / 2);

  // No taskbar button: the popup is owned by an invisible tool window.
  HWND owner = GetWindow(window, GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_FALSE(IsWindowVisible(owner));
  EXPECT_TRUE(GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST(StartUp, CreationHandlerFillsTheFieldsAndTheCountdown) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  EXPECT_EQ(app.Text(倒计时编辑框), "120");
  for (ControlName field : {年编辑框, 月编辑框, 日编辑框, 时编辑框, 分编辑框, 秒编辑框}) {
    EXPECT_FALSE(app.Text(field).empty());
  }
  EXPECT_EQ(app.Text(CMD编辑框), "");
}

TEST(StartUp, CurrentDirectoryIsTheProgramsFolder) {
  // A command line with a relative path shows the current directory: the CMD
  // option starts it, and it leaves a file where it ran.
  TavrelProcess app({.program = "Tavrel-dryrun.exe"});
  ASSERT_TRUE(app.started());
  app.SetChecked(关机单选框, false);
  app.SetChecked(CMD单选框, true);
  app.SetText(CMD编辑框, "cmd.exe /c cd > here.txt");
  app.SetText(倒计时编辑框, "0");
  app.Click(执行倒计时按钮);
  const std::string marker = app.directory() + "\\here.txt";
  ASSERT_TRUE(harness::WaitUntil([&] { return harness::FileExists(marker); }));
  harness::WaitUntil([&] { return harness::ReadFileText(marker).find('\n') != std::string::npos; });
  EXPECT_EQ(harness::ReadFileText(marker), app.directory() + "\r\n");
}

TEST(TrayIcon, DoubleClickShowsSingleClickDoesNot) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  app.SendTrayMouse(kLeftUp);
  ASSERT_TRUE(app.Responds());
  Sleep(200);
  EXPECT_FALSE(app.WindowVisible());

  app.SendTrayMouse(kLeftUp);
  app.SendTrayMouse(kLeftDoubleClick);
  app.SendTrayMouse(kLeftUp);
  EXPECT_TRUE(harness::WaitUntil([&] { return app.WindowVisible(); }));
}

TEST(TrayIcon, CloseHidesAndTheProgramGoesOn) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  app.ChooseMenuItem(2);  // "显示窗口"
  ASSERT_TRUE(harness::WaitUntil([&] { return app.WindowVisible(); }));
  app.SetText(CMD编辑框, "notepad.exe");
  PostMessageA(app.mainWindow(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(harness::WaitUntil([&] { return !app.WindowVisible(); }));
  EXPECT_TRUE(app.Running());
  EXPECT_TRUE(IsWindow(app.mainWindow()));
  app.SendTrayMouse(kLeftDoubleClick);
  ASSERT_TRUE(harness::WaitUntil([&] { return app.WindowVisible(); }));
  EXPECT_EQ(app.Text(CMD编辑框), "notepad.exe");
}

TEST(TrayIcon, RightClickPopsUpTheMenuAndEscapeClosesIt) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  app.SendTrayMouse(kRightUp);
  HWND menu = OpenPopupMenu();
  ASSERT_NE(menu, nullptr);
  DWORD owner = 0;
  GetWindowThreadProcessId(menu, &owner);
  EXPECT_EQ(owner, app.processId());
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(harness::WaitUntil([&] { return !IsWindowVisible(menu) || !IsWindow(menu); }));
  EXPECT_TRUE(app.Responds());
  EXPECT_TRUE(app.Running());
}

TEST(TrayIcon, MenuDownDownEnterChoosesShowWindow) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  app.SendTrayMouse(kRightUp);
  HWND menu = OpenPopupMenu();
  ASSERT_NE(menu, nullptr);
  // The second item is "显示窗口".
  for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
    PostMessageA(menu, WM_KEYDOWN, key, 0);
    Sleep(100);
  }
  EXPECT_TRUE(harness::WaitUntil([&] { return app.WindowVisible(); }));
  EXPECT_TRUE(app.Running());
}

TEST(Ending, ExitItemEndsWithCodeZero) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  app.ChooseMenuItem(1);  // "退出程序"
  EXPECT_EQ(app.WaitForExit(), 0u);
}

TEST(Ending, QueryEndSessionIsAnsweredYesAndHides) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  app.ChooseMenuItem(2);
  ASSERT_TRUE(harness::WaitUntil([&] { return app.WindowVisible(); }));
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutA(app.mainWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                  SMTO_NORMAL, 5000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  EXPECT_FALSE(app.WindowVisible());
  EXPECT_TRUE(app.Running());
}

TEST(Ending, TwoInstancesRunSideBySide) {
  TavrelProcess first;
  TavrelProcess second({.directory = harness::FreshTestDirectory("-second")});
  ASSERT_TRUE(first.started());
  ASSERT_TRUE(second.started());
  EXPECT_NE(first.mainWindow(), second.mainWindow());
  second.ChooseMenuItem(1);
  EXPECT_EQ(second.WaitForExit(), 0u);
  EXPECT_TRUE(first.Running());
  first.ChooseMenuItem(2);
  EXPECT_TRUE(harness::WaitUntil([&] { return first.WindowVisible(); }));
}

}  // namespace

namespace {

// Every text of the program is GBK: the tests' byte expectations only mean
// something under code page 936.
TEST(Environment, AnsiCodePageIsGbk) { EXPECT_EQ(GetACP(), 936u); }

}  // namespace

namespace {

// Whether the notification area holds the program's icon: it accepts a change
// only to an icon it has.
bool TrayHoldsIcon(HWND window) {
  NOTIFYICONDATAA record{};
  record.cbSize = 88;
  record.hWnd = window;
  record.uID = 100;
  record.uFlags = NIF_TIP;
  lstrcpyA(record.szTip, "Tavrel");
  return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

TEST(TrayEntry, IsAddedAtStart) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  EXPECT_TRUE(harness::WaitUntil([&] { return TrayHoldsIcon(app.mainWindow()); }));
}

TEST(TrayEntry, GoesWithTheSessionAndComesBackWithANewTaskbar) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  ASSERT_TRUE(harness::WaitUntil([&] { return TrayHoldsIcon(app.mainWindow()); }));
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(app.mainWindow(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                      &answer);
  EXPECT_TRUE(harness::WaitUntil([&] { return !TrayHoldsIcon(app.mainWindow()); }));
  // A restarted notification area announces itself to every top-level window.
  PostMessageA(app.mainWindow(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(harness::WaitUntil([&] { return TrayHoldsIcon(app.mainWindow()); }));
  EXPECT_TRUE(app.Running());
}

}  // namespace
