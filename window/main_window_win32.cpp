#include "window/main_window.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "actions/system_action_calls_win32.h"
#include "actions/tray_menu_actions.h"
#include "platform/clipboard.h"
#include "platform/message_queue.h"
#include "platform/process.h"
#include "schedule/run_handlers.h"
#include "schedule/schedule_services_win32.h"
#include "shell/program_end.h"
#include "shell/skin_step.h"
#include "window/command_box_keys.h"
#include "window/radio_check_win32.h"
#include "window/transparent_label.h"
#include "window/tray_events.h"
#include "window/tray_icon.h"
#include "window/window_declaration.h"

namespace {

using enum ControlName;

constexpr char kMainWindowClass[] = "TavrelMainWindow";
constexpr char kOwnerWindowClass[] = "TavrelOwnerWindow";

HWND g_owner = nullptr;
HWND g_main = nullptr;
HWND g_tab = nullptr;
std::array<HWND, 32> g_controls{};  // indexed by ControlName
WNDPROC g_tabDefaultProc = nullptr;
UINT g_taskbarCreated = 0;

HWND ControlHandle(ControlName name) { return g_controls[static_cast<size_t>(name)]; }

int ControlId(ControlName name) { return kFirstControlId + static_cast<int>(name); }

class WindowControls final : public Controls {
 public:
  std::string ReadText(ControlName box) const override {
    HWND handle = ControlHandle(box);
    const int length = GetWindowTextLengthA(handle);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(handle, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
  }
  void WriteText(ControlName box, std::string_view text) override {
    const std::string terminated(text);
    SetWindowTextA(ControlHandle(box), terminated.c_str());
  }
  int ReadChecked(ControlName button) const override {
    return SendMessageA(ControlHandle(button), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  }
  void WriteChecked(ControlName button, int checked) override {
    WriteButtonCheckedAlone(ControlHandle(button), checked != 0);
  }
  void WriteVisible(bool visible) override { ShowWindow(g_main, visible ? SW_SHOW : SW_HIDE); }
  void WriteSelectedCount(ControlName box, int count) override {
    // Every box of this window keeps its selection start at 0.
    constexpr int kSelectionStart = 0;
    int start = kSelectionStart;
    if (count == -1) {
      start = 0;
      count = GetWindowTextLengthA(ControlHandle(box));
    } else if (count < 0) {
      count = 0;
    }
    SendMessageA(ControlHandle(box), EM_SETSEL, static_cast<WPARAM>(start),
                 static_cast<LPARAM>(start + count));
    SendMessageA(ControlHandle(box), EM_SCROLLCARET, 0, 0);
  }
};

WindowControls g_windowControls;

// --- Building -------------------------------------------------------------

struct ControlStyle {
  const char* className;
  DWORD style;
  DWORD extendedStyle;
};

ControlStyle StyleOf(ControlKind kind) {
  constexpr DWORD child = WS_CHILD | WS_CLIPSIBLINGS;
  switch (kind) {
    case ControlKind::EditBox:
      return {"EDIT", child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::MultiLineEditBox:
      return {"EDIT",
              child | WS_TABSTOP | WS_VSCROLL | ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL |
                  ES_WANTRETURN,
              WS_EX_CLIENTEDGE};
    case ControlKind::RadioButton:
      return {"BUTTON", child | WS_TABSTOP | BS_AUTORADIOBUTTON | BS_MULTILINE | BS_LEFT | BS_VCENTER,
              0};
    case ControlKind::PushButton:
      return {"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER,
              0};
    case ControlKind::TransparentLabel:
      return {kTransparentLabelClass, child, WS_EX_TRANSPARENT};
    case ControlKind::TabControl:
      break;
  }
  return {WC_TABCONTROLA, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0};
}

void SetFont(HWND window) {
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

LRESULT CALLBACK TabControlProc(HWND tab, UINT message, WPARAM wParam, LPARAM lParam) {
  // The controls are children of the tab control, so their notifications
  // arrive here; the window's handlers live with MainWindow.
  if (message == WM_COMMAND) return SendMessageA(g_main, message, wParam, lParam);
  return CallWindowProcA(g_tabDefaultProc, tab, message, wParam, lParam);
}

bool BuildTabControl(HINSTANCE instance) {
  const MainWindowDeclaration& settings = MainWindowSettings();
  const ControlStyle style = StyleOf(ControlKind::TabControl);
  g_tab = CreateWindowExA(style.extendedStyle, style.className, "", style.style, 0, 0,
                          settings.tabWidth, settings.tabHeight, g_main,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(选择夹1))),
                          instance, nullptr);
  if (!g_tab) return false;
  g_controls[static_cast<size_t>(选择夹1)] = g_tab;
  SetFont(g_tab);
  for (int page = 0; page < 2; ++page) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(settings.pageCaptions[static_cast<size_t>(page)]);
    SendMessageA(g_tab, TCM_INSERTITEMA, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
  }
  g_tabDefaultProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(g_tab, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TabControlProc)));
  return true;
}

// The controls are created in list order, and a new child window goes below
// the siblings made before it: so an earlier control of a page's list is
// already higher in the stacking order, without moving any window. The
// controls of the first page are created shown (the window itself is still
// hidden), which leaves them as showing each one afterwards would, without
// one more round of window positioning per control at start.
bool BuildControls(HINSTANCE instance) {
  constexpr int kFirstPage = 1;
  for (const ControlDeclaration& control : ControlDeclarations()) {
    const ControlStyle style = StyleOf(control.kind);
    const bool editBox =
        control.kind == ControlKind::EditBox || control.kind == ControlKind::MultiLineEditBox;
    const DWORD shown = control.page == kFirstPage ? WS_VISIBLE : 0;
    HWND handle = CreateWindowExA(
        style.extendedStyle, style.className, editBox ? "" : control.caption, style.style | shown,
        control.left, control.top, control.width, control.height, g_tab,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(control.name))), instance, nullptr);
    if (!handle) return false;
    g_controls[static_cast<size_t>(control.name)] = handle;
    SetFont(handle);
    if (editBox) SendMessageA(handle, EM_LIMITTEXT, 0, 0);
    if (control.checked) WriteButtonCheckedAlone(handle, true);
  }
  return true;
}

int CurrentPage() { return static_cast<int>(SendMessageA(g_tab, TCM_GETCURSEL, 0, 0)) + 1; }

void ShowPage(int page) {
  for (const ControlDeclaration& control : ControlDeclarations()) {
    if (control.page != page) ShowWindow(ControlHandle(control.name), SW_HIDE);
  }
  for (const ControlDeclaration& control : ControlDeclarations()) {
    if (control.page == page) ShowWindow(ControlHandle(control.name), SW_SHOWNA);
  }
}

void SwitchToChosenPage() {
  const int page = CurrentPage();
  ShowPage(page);
  SetFocus(ControlHandle(FirstFocusOfPage(page)));
}

// The start position replaces the declared one, so the window is created
// there rather than moved there afterwards.
POINT CentredPosition() {
  const MainWindowDeclaration& settings = MainWindowSettings();
  return {(GetSystemMetrics(SM_CXSCREEN) - settings.width) / 2,
          (GetSystemMetrics(SM_CYSCREEN) - settings.height) / 2};
}

void PlaceMainWindow() {
  const MainWindowDeclaration& settings = MainWindowSettings();
  RECT frame;
  GetWindowRect(g_main, &frame);
  if (frame.right - frame.left != settings.width || frame.bottom - frame.top != settings.height) {
    SetWindowPos(g_main, nullptr, 0, 0, settings.width, settings.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetWindowPos(g_main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void SetWindowIcons(HINSTANCE instance) {
  HANDLE big = LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, 32, 32, 0);
  HANDLE small = LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, 16, 16, 0);
  if (big) SendMessageA(g_main, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  if (small) SendMessageA(g_main, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void RunCreationHandler(const std::string& runDirectory) {
  RunSkinStep(runDirectory);
  SystemScheduleServices services;
  PrefillDateTimeFields(g_windowControls, services);
  InstallTrayIcon(g_main);
  g_windowControls.WriteText(倒计时编辑框, "120");
  g_windowControls.WriteVisible(false);
}

// --- Handlers -------------------------------------------------------------

void RunMenuItem(int position) {
  SystemActionCalls calls;
  ThreadMessageSource messages;
  switch (position) {
    case 1:
      EndProgram(0);
    case 2:
      g_windowControls.WriteVisible(true);
      break;
    case 3:
    case 4:
    case 5:
    case 6: {
      // The four power items, in menu order, and the option each selects.
      constexpr ControlName kPowerItemButtons[] = {关机单选框, 重启单选框, 注销单选框, 休眠单选框};
      RunPowerMenuItem(kPowerItemButtons[position - 3], g_windowControls, messages, calls);
      break;
    }
    case 7:
      RunLockMenuItem(ReadSystemDirectory(), calls);
      break;
  }
}

void OnCommand(int id) {
  SystemActionCalls calls;
  SystemScheduleServices services;
  if (id == ControlId(执行按钮)) {
    RunAtDateTime(g_windowControls, services, calls);
  } else if (id == ControlId(执行倒计时按钮)) {
    RunCountdown(g_windowControls, services, calls);
  } else if (id > kMenuCommandBase && id <= kMenuCommandBase + static_cast<int>(TrayMenuItems().size())) {
    RunMenuItem(id - kMenuCommandBase);
  }
}

void OnTrayEvent(UINT mouseMessage) {
  switch (TrayEventType(mouseMessage)) {
    case kTrayEventDoubleClick:
      g_windowControls.WriteVisible(true);
      break;
    case kTrayEventMenu:
      PopUpTrayMenu(g_main);
      break;
  }
}

// The close request only hides: the tray icon is the way back in.
bool MayClose() {
  g_windowControls.WriteVisible(false);
  return false;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      if (MayClose()) DestroyWindow(window);
      return 0;
    case WM_QUERYENDSESSION:
      // A hidden tray program must never stand in the way of the user's own
      // log-off or shutdown; the window is still hidden, as a close would.
      MayClose();
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) RemoveTrayIcon(window);
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == g_tab && header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        SwitchToChosenPage();
      }
      return 0;
    }
    case kTrayCallbackMessage:
      OnTrayEvent(static_cast<UINT>(LOWORD(lParam)));
      return 0;
  }
  if (g_taskbarCreated != 0 && message == g_taskbarCreated) {
    ReinstallTrayIcon(window);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterWindowClasses(HINSTANCE instance) {
  WNDCLASSA mainClass{};
  // No class icon: the window gets its two icons itself (WM_SETICON) right
  // after creation, so a class icon would be loaded and handed to the
  // window manager only to be replaced.
  mainClass.lpfnWndProc = MainWindowProc;
  mainClass.hInstance = instance;
  mainClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  mainClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  mainClass.lpszClassName = kMainWindowClass;
  WNDCLASSA ownerClass{};
  ownerClass.lpfnWndProc = DefWindowProcA;
  ownerClass.hInstance = instance;
  ownerClass.lpszClassName = kOwnerWindowClass;
  return RegisterClassA(&mainClass) && RegisterClassA(&ownerClass) &&
         RegisterTransparentLabelClass(instance);
}

// --- Keyboard -------------------------------------------------------------

bool IsControlOfWindow(HWND handle) {
  for (const ControlDeclaration& control : ControlDeclarations()) {
    if (ControlHandle(control.name) == handle) return true;
  }
  return handle == g_main || handle == g_tab;
}

ControlName NameOfHandle(HWND handle) {
  for (const ControlDeclaration& control : ControlDeclarations()) {
    if (ControlHandle(control.name) == handle) return control.name;
  }
  return 选择夹1;
}

bool IsSingleLineEditBox(HWND handle) {
  const ControlKind kind = DeclarationOf(NameOfHandle(handle)).kind;
  return handle != g_tab && kind == ControlKind::EditBox;
}

void RunCommandBoxKeyDown(int keyCode, int modifierState) {
  const CommandBoxShortcut shortcut = CommandBoxShortcutFor(keyCode, modifierState);
  if (shortcut.selectAll) {
    const std::string text = g_windowControls.ReadText(CMD编辑框);
    g_windowControls.WriteSelectedCount(CMD编辑框, static_cast<int>(text.size()));
  }
  if (shortcut.copy) PutTextOnClipboard(g_windowControls.ReadText(CMD编辑框));
}

}  // namespace

HWND BuildMainWindow(HINSTANCE instance, const std::string& runDirectory) {
  INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&commonControls);
  if (!RegisterWindowClasses(instance)) return nullptr;
  g_taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  // A popup owned by an invisible tool window gets no taskbar button.
  g_owner = CreateWindowExA(WS_EX_TOOLWINDOW, kOwnerWindowClass, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                            instance, nullptr);
  const MainWindowDeclaration& settings = MainWindowSettings();
  const POINT start = CentredPosition();
  g_main = CreateWindowExA(0, kMainWindowClass, settings.caption,
                           WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                           start.x, start.y, settings.width, settings.height, g_owner, nullptr,
                           instance, nullptr);
  if (!g_main) return nullptr;
  SetFont(g_main);
  SetWindowIcons(instance);
  if (!BuildTabControl(instance) || !BuildControls(instance)) return nullptr;
  PlaceMainWindow();
  RunCreationHandler(runDirectory);
  return g_main;
}

HWND MainWindowHandle() { return g_main; }

Controls& MainWindowControls() { return g_windowControls; }

bool PreTranslateMainWindowMessage(MSG* message) {
  if (!g_main || !IsControlOfWindow(message->hwnd)) return false;
  if (message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN) {
    if (message->hwnd == ControlHandle(CMD编辑框)) {
      const int keyCode = FoldKeyCode(static_cast<uint32_t>(message->wParam));
      RunCommandBoxKeyDown(keyCode, ModifierState(keyCode, GetKeyState(VK_CONTROL) < 0,
                                                  GetKeyState(VK_SHIFT) < 0,
                                                  GetKeyState(VK_MENU) < 0));
    }
    if (message->message == WM_KEYDOWN && message->wParam == VK_TAB &&
        GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
      const ControlName next =
          NextTabStop(CurrentPage(), NameOfHandle(message->hwnd), GetKeyState(VK_SHIFT) < 0);
      SetFocus(ControlHandle(next));
      return true;
    }
  }
  // Enter and Esc do nothing in a single-line box (no default button, no
  // cancel): without this the box would beep at them.
  if (message->message == WM_CHAR && (message->wParam == '\r' || message->wParam == 0x1B) &&
      IsSingleLineEditBox(message->hwnd)) {
    return true;
  }
  return false;
}

void DestroyProgramWindows() {
  if (g_main) {
    RemoveTrayIcon(g_main);
    DestroyWindow(g_main);
    g_main = nullptr;
  }
  if (g_owner) {
    DestroyWindow(g_owner);
    g_owner = nullptr;
  }
}

bool ProgramWindowExists() { return g_main != nullptr && IsWindow(g_main); }
