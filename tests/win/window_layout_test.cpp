// Every control of MainWindow as another process sees it, page switching and
// the keyboard.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "harness/tavrel_process.h"
#include "window/window_declaration.h"

namespace {

using harness::TavrelProcess;
using enum ControlName;

std::string ClassOf(HWND window) {
  char name[128] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string ExpectedClass(ControlKind kind) {
  switch (kind) {
    case ControlKind::EditBox:
    case ControlKind::MultiLineEditBox:
      return "Edit";
    case ControlKind::RadioButton:
    case ControlKind::PushButton:
      return "Button";
    case ControlKind::TransparentLabel:
      return "TavrelTransparentLabel";
    case ControlKind::TabControl:
      break;
  }
  return "SysTabControl32";
}

void ShowWindowOf(const TavrelProcess& app) {
  app.ChooseMenuItem(2);
  ASSERT_TRUE(harness::WaitUntil([&] { return app.WindowVisible(); }));
}

HWND FocusOf(const TavrelProcess& app) {
  GUITHREADINFO info{sizeof info};
  GetGUIThreadInfo(GetWindowThreadProcessId(app.mainWindow(), nullptr), &info);
  return info.hwndFocus;
}

void PressKey(WORD key, bool shift = false) {
  std::vector<INPUT> inputs;
  auto add = [&](WORD code, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (shift) add(VK_SHIFT, false);
  add(key, false);
  add(key, true);
  if (shift) add(VK_SHIFT, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

TEST(Layout, EveryControlHasItsClassPlaceCaptionAndState) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  HWND tab = app.control(选择夹1);
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(ClassOf(tab), "SysTabControl32");
  EXPECT_FALSE(GetWindowLongA(tab, GWL_STYLE) & WS_TABSTOP);
  RECT tabRect;
  GetWindowRect(tab, &tabRect);
  EXPECT_EQ(tabRect.right - tabRect.left, 368);
  EXPECT_EQ(tabRect.bottom - tabRect.top, 216);
  EXPECT_EQ(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);

  for (const ControlDeclaration& declared : ControlDeclarations()) {
    SCOPED_TRACE(declared.caption);
    HWND control = app.control(declared.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetParent(control), tab);
    EXPECT_EQ(ClassOf(control), ExpectedClass(declared.kind));
    RECT rect;
    GetWindowRect(control, &rect);
    POINT topLeft{rect.left, rect.top};
    ScreenToClient(tab, &topLeft);
    EXPECT_EQ(topLeft.x, declared.left);
    EXPECT_EQ(topLeft.y, declared.top);
    EXPECT_EQ(rect.right - rect.left, declared.width);
    EXPECT_EQ(rect.bottom - rect.top, declared.height);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    EXPECT_EQ((style & WS_VISIBLE) != 0, declared.page == 1);
    EXPECT_EQ((style & WS_TABSTOP) != 0, IsTabStop(declared.kind));
    EXPECT_FALSE(style & WS_GROUP);
    EXPECT_TRUE(IsWindowEnabled(control));
    switch (declared.kind) {
      case ControlKind::EditBox:
      case ControlKind::MultiLineEditBox:
        EXPECT_TRUE(GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        EXPECT_EQ((style & ES_MULTILINE) != 0, declared.kind == ControlKind::MultiLineEditBox);
        EXPECT_FALSE(style & (ES_READONLY | ES_PASSWORD | ES_NOHIDESEL | ES_UPPERCASE | ES_NUMBER));
        break;
      case ControlKind::RadioButton:
        EXPECT_EQ(style & BS_TYPEMASK, BS_AUTORADIOBUTTON);
        EXPECT_EQ(app.Checked(declared.name), declared.checked);
        [[fallthrough]];
      case ControlKind::PushButton:
      case ControlKind::TransparentLabel: {
        char caption[64] = {};
        SendMessageA(control, WM_GETTEXT, sizeof caption, reinterpret_cast<LPARAM>(caption));
        EXPECT_STREQ(caption, declared.caption);
        break;
      }
      case ControlKind::TabControl:
        break;
    }
    if (declared.kind == ControlKind::PushButton) EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
    if (declared.kind == ControlKind::TransparentLabel) {
      EXPECT_TRUE(GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    }
  }
}

TEST(Layout, EarlierInAPageListIsHigherInTheStackingOrder) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  HWND previous = nullptr;
  for (const ControlDeclaration& declared : ControlDeclarations()) {
    HWND control = app.control(declared.name);
    if (previous) EXPECT_EQ(GetWindow(previous, GW_HWNDNEXT), control) << declared.caption;
    previous = control;
  }
}

TEST(Layout, OverlappingRadioButtonTakesTheClickOfItsRightNeighbour) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  // x 70 lies in both 关机 (8..88) and 重启 (61..141); 重启 is on top.
  HWND tab = app.control(选择夹1);
  POINT inOverlap{70, 140};
  EXPECT_EQ(ChildWindowFromPointEx(tab, inOverlap, CWP_SKIPINVISIBLE), app.control(重启单选框));
}

// A write of the checked state changes one button alone; the program's own
// write at creation is checked above (the other radio buttons keep their tab
// stops), and the tray menu tests check its writes from the menu.
TEST(Layout, ClickingARadioButtonClearsTheOthers) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  SendMessageA(app.control(注销单选框), BM_CLICK, 0, 0);
  EXPECT_TRUE(app.Checked(注销单选框));
  for (ControlName other : {关机单选框, 重启单选框, 休眠单选框, CMD单选框}) EXPECT_FALSE(app.Checked(other));
}

TEST(Pages, ChoosingAPageShowsItsControlsAndMovesTheFocus) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  ShowWindowOf(app);
  HWND tab = app.control(选择夹1);
  SendMessageA(tab, TCM_SETCURFOCUS, 1, 0);
  ASSERT_TRUE(harness::WaitUntil([&] { return IsWindowVisible(app.control(CMD编辑框)); }));
  EXPECT_FALSE(IsWindowVisible(app.control(年编辑框)));
  EXPECT_TRUE(harness::WaitUntil([&] { return FocusOf(app) == app.control(CMD编辑框); }));

  SendMessageA(tab, TCM_SETCURFOCUS, 0, 0);
  ASSERT_TRUE(harness::WaitUntil([&] { return IsWindowVisible(app.control(年编辑框)); }));
  EXPECT_FALSE(IsWindowVisible(app.control(CMD编辑框)));
  EXPECT_TRUE(harness::WaitUntil([&] { return FocusOf(app) == app.control(CMD单选框); }));

  // Hiding and showing the window keeps the page.
  SendMessageA(tab, TCM_SETCURFOCUS, 1, 0);
  PostMessageA(app.mainWindow(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(harness::WaitUntil([&] { return !app.WindowVisible(); }));
  ShowWindowOf(app);
  EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 1);
}

TEST(Keyboard, TabGoesInReadingOrderAndEscapeDoesNotClose) {
  TavrelProcess app;
  ASSERT_TRUE(app.started());
  ShowWindowOf(app);
  SetForegroundWindow(app.mainWindow());
  HWND year = app.control(年编辑框);
  DWORD thread = GetWindowThreadProcessId(app.mainWindow(), nullptr);
  AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
  SetFocus(year);
  AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
  ASSERT_TRUE(harness::WaitUntil([&] { return FocusOf(app) == year; }));

  PressKey(VK_TAB);
  EXPECT_TRUE(harness::WaitUntil([&] { return FocusOf(app) == app.control(月编辑框); }));
  PressKey(VK_TAB, true);
  PressKey(VK_TAB, true);
  EXPECT_TRUE(harness::WaitUntil([&] { return FocusOf(app) == app.control(执行倒计时按钮); }));

  PressKey(VK_ESCAPE);
  PressKey(VK_RETURN);
  Sleep(300);
  EXPECT_TRUE(app.WindowVisible());
  EXPECT_TRUE(app.Running());
}

}  // namespace
