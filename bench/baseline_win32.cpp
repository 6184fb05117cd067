// The least a tray program of Tavrel's shape can do, as the yardstick of the
// benchmark: a hidden window of the same class name and style as MainWindow,
// one notification-area icon and a message loop. No controls, no skin, no
// resources beyond what the system gives every program.
//
// Built a second time with TAVREL_BASELINE_COMMON_CONTROLS and the program's
// manifest, it also loads the common controls as Tavrel does (version 6, for
// its tab control) and nothing more: what that alone costs is the floor under
// Tavrel's own start-up and memory.
#include <windows.h>
#include <shellapi.h>
#ifdef TAVREL_BASELINE_COMMON_CONTROLS
#include <commctrl.h>
#endif

namespace {

constexpr char kMainWindowClass[] = "TavrelMainWindow";
constexpr UINT kTrayCallbackMessage = WM_APP + 100;
constexpr UINT kTrayIconId = 100;
// The first, 88-byte form of NOTIFYICONDATAA, as Tavrel registers it.
constexpr DWORD kNotifyIconDataSize = 88;

LRESULT CALLBACK BaselineWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) return 0;  // hidden for good, like Tavrel's close request
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateHiddenWindow(HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = BaselineWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMainWindowClass;
  if (!RegisterClassA(&windowClass)) return nullptr;
  return CreateWindowExA(0, kMainWindowClass, "Tavrel.",
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 50,
                         50, 380, 250, nullptr, nullptr, instance, nullptr);
}

void AddTrayIcon(HWND window) {
  NOTIFYICONDATAA record{};
  record.cbSize = kNotifyIconDataSize;
  record.hWnd = window;
  record.uID = kTrayIconId;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = kTrayCallbackMessage;
  record.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  lstrcpynA(record.szTip, "Tavrel", sizeof record.szTip);
  Shell_NotifyIconA(NIM_ADD, &record);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
#ifdef TAVREL_BASELINE_COMMON_CONTROLS
  INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&commonControls);
#endif
  HWND window = CreateHiddenWindow(instance);
  if (!window) return 1;
  AddTrayIcon(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
