#pragma once
// The one declaration of MainWindow: the window's settings, every control with
// its page, place, caption and start state, and the tray menu. Building the
// window walks these tables; no control is made anywhere else.

#include <array>
#include <span>
#include <vector>

#include "window/controls.h"

enum class ControlKind { TabControl, EditBox, MultiLineEditBox, RadioButton, PushButton, TransparentLabel };

struct ControlDeclaration {
  ControlName name;
  ControlKind kind;
  int page;  // 1 "定时关机", 2 "CMD指令"; 0 for the tab control itself
  int left, top, width, height;  // pixels, relative to the tab control's top-left
  const char* caption;
  bool checked;
};

struct MainWindowDeclaration {
  const char* caption;
  int width, height;  // outer size, frame and title bar included
  // The declared position (50, 50) is never used: the start position, centred
  // on the screen, replaces it.
  int tabWidth, tabHeight;
  std::array<const char*, 2> pageCaptions;
};

struct TrayMenuItemDeclaration {
  int position;  // 1..7 below the hidden top item "托盘菜单" at position 0
  const char* caption;
};

inline constexpr int kMenuCommandBase = 20000;
inline constexpr int kFirstControlId = 1000;

const MainWindowDeclaration& MainWindowSettings();
// Page 1's controls in their list order, then page 2's; earlier is higher in
// the stacking order within a page.
std::span<const ControlDeclaration> ControlDeclarations();
const ControlDeclaration& DeclarationOf(ControlName name);
std::span<const TrayMenuItemDeclaration> TrayMenuItems();

bool IsTabStop(ControlKind kind);
// The control that takes the focus when a page is chosen: the first of the
// page's list that can take the focus.
ControlName FirstFocusOfPage(int page);
// Tab and Shift+Tab go through a page's tab stops in reading order: top to
// bottom, then left to right, wrapping at either end. A control that is not a
// tab stop of the page (or of no page) starts from the first or last one.
ControlName NextTabStop(int page, ControlName from, bool backwards);
