// SkinH_EL.dll: dresses the windows of the calling thread in the colours of a
// skin file. Windows that exist get a replacement window procedure at once; a
// thread hook gives it to the windows created later.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>

#include "skin/skin_format.h"

namespace {

HINSTANCE gInstance = nullptr;
HHOOK gHook = nullptr;
SkinColours gColours{};
HBRUSH gWindowBrush = nullptr;
HBRUSH gFieldBrush = nullptr;
std::map<HWND, WNDPROC> gDressed;

enum class Role { Plain, PushButton };

LRESULT CALLBACK SkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

COLORREF ToColorRef(SkinRgb rgb) { return RGB(rgb.red, rgb.green, rgb.blue); }

bool ClassIs(HWND window, const char* name) {
  char found[64] = {};
  return GetClassNameA(window, found, sizeof found) != 0 && lstrcmpiA(found, name) == 0;
}

Role RoleOf(HWND window) {
  if (!ClassIs(window, "Button")) return Role::Plain;
  LONG style = GetWindowLongA(window, GWL_STYLE);
  LONG type = style & BS_TYPEMASK;
  bool pushLike = (style & BS_PUSHLIKE) != 0 && type != BS_GROUPBOX;
  bool picture = (style & (BS_BITMAP | BS_ICON)) != 0;
  return !picture && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || pushLike)
             ? Role::PushButton
             : Role::Plain;
}

// Top-level windows and tab controls are the surfaces the other controls sit
// on: they take the window colour.
bool IsSurface(HWND window) {
  return (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) == 0 || ClassIs(window, "SysTabControl32");
}

void PaintPushButton(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  LRESULT state = SendMessageA(window, BM_GETSTATE, 0, 0);
  bool pressed = (state & (BST_PUSHED | BST_CHECKED)) != 0;
  COLORREF face = ToColorRef(gColours.face);
  if (pressed) {
    // A pressed face is the face darkened by a quarter.
    face = RGB(GetRValue(face) * 3 / 4, GetGValue(face) * 3 / 4, GetBValue(face) * 3 / 4);
  }
  HBRUSH faceBrush = CreateSolidBrush(face);
  FillRect(dc, &client, faceBrush);
  DeleteObject(faceBrush);
  HBRUSH frameBrush = CreateSolidBrush(ToColorRef(gColours.frame));
  FrameRect(dc, &client, frameBrush);
  DeleteObject(frameBrush);

  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(
      dc, IsWindowEnabled(window) ? ToColorRef(gColours.faceText) : GetSysColor(COLOR_GRAYTEXT));
  RECT area = client;
  InflateRect(&area, -3, -2);
  if (pressed) OffsetRect(&area, 1, 1);
  UINT format = DT_CENTER | DT_NOCLIP;
  if (GetWindowLongA(window, GWL_STYLE) & BS_MULTILINE) {
    RECT measured = area;
    DrawTextA(dc, text, -1, &measured, format | DT_WORDBREAK | DT_CALCRECT);
    area.top += (area.bottom - area.top - (measured.bottom - measured.top)) / 2;
    format |= DT_WORDBREAK;
  } else {
    format |= DT_VCENTER | DT_SINGLELINE;
  }
  DrawTextA(dc, text, -1, &area, format);
  if (oldFont) SelectObject(dc, oldFont);
  if (GetFocus() == window) {
    RECT focus = client;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

// A tab control paints its page itself, over what WM_ERASEBKGND filled: the
// page inside its border takes the window colour once the control is done.
void PaintTabPage(HWND window, WNDPROC original, HDC dc) {
  CallWindowProcA(original, window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  RECT page;
  GetClientRect(window, &page);
  SendMessageA(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  FillRect(dc, &page, gWindowBrush);
}

// Messages after which a button may have drawn itself directly.
bool ButtonMayDrawDirectly(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_CAPTURECHANGED:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_UPDATEUISTATE:
    case BM_SETSTATE:
    case BM_SETCHECK:
    case BM_SETSTYLE:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK SkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto found = gDressed.find(window);
  if (found == gDressed.end()) return DefWindowProcA(window, message, wParam, lParam);
  WNDPROC original = found->second;
  switch (message) {
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      gDressed.erase(found);
      return CallWindowProcA(original, window, message, wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, ToColorRef(gColours.fieldText));
      SetBkColor(dc, ToColorRef(gColours.field));
      return reinterpret_cast<LRESULT>(gFieldBrush);
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, ToColorRef(gColours.text));
      SetBkColor(dc, ToColorRef(gColours.window));
      return reinterpret_cast<LRESULT>(gWindowBrush);
    }
    case WM_ERASEBKGND:
      if (RoleOf(window) == Role::PushButton) return 1;
      if (IsSurface(window)) {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, gWindowBrush);
        return 1;
      }
      break;
    case WM_PAINT:
      if (RoleOf(window) == Role::PushButton) {
        PAINTSTRUCT paint;
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(window, &paint);
        PaintPushButton(window, dc);
        if (!wParam) EndPaint(window, &paint);
        return 0;
      }
      if (ClassIs(window, "SysTabControl32")) {
        PAINTSTRUCT paint;
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(window, &paint);
        PaintTabPage(window, original, dc);
        if (!wParam) EndPaint(window, &paint);
        return 0;
      }
      break;
    default:
      break;
  }
  LRESULT result = CallWindowProcA(original, window, message, wParam, lParam);
  if (ButtonMayDrawDirectly(message) && gDressed.count(window) &&
      RoleOf(window) == Role::PushButton) {
    HDC dc = GetDC(window);
    if (dc != nullptr) {
      PaintPushButton(window, dc);
      ReleaseDC(window, dc);
    }
  }
  return result;
}

void Dress(HWND window) {
  if (gDressed.count(window)) return;
  auto original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SkinProc)));
  if (original == nullptr) return;
  gDressed[window] = original;
}

void Repaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

BOOL CALLBACK DressChild(HWND window, LPARAM) {
  Dress(window);
  return TRUE;
}

BOOL CALLBACK DressTree(HWND window, LPARAM) {
  Dress(window);
  EnumChildWindows(window, DressChild, 0);
  Repaint(window);
  return TRUE;
}

LRESULT CALLBACK DressNewWindows(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == WM_CREATE) Dress(call->hwnd);
  }
  return CallNextHookEx(gHook, code, wParam, lParam);
}

// Brushes first: nothing is changed unless all of the new skin can be had.
bool UseColours(const SkinColours& colours) {
  HBRUSH windowBrush = CreateSolidBrush(ToColorRef(colours.window));
  HBRUSH fieldBrush = CreateSolidBrush(ToColorRef(colours.field));
  if (windowBrush == nullptr || fieldBrush == nullptr) {
    if (windowBrush) DeleteObject(windowBrush);
    if (fieldBrush) DeleteObject(fieldBrush);
    return false;
  }
  if (gWindowBrush) DeleteObject(gWindowBrush);
  if (gFieldBrush) DeleteObject(gFieldBrush);
  gWindowBrush = windowBrush;
  gFieldBrush = fieldBrush;
  gColours = colours;
  return true;
}

void Undress() {
  if (gHook) UnhookWindowsHookEx(gHook);
  gHook = nullptr;
  for (const auto& [window, original] : gDressed) {
    if (IsWindow(window)) {
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    }
  }
  gDressed.clear();
}

// Results of SkinH_AttachRes.
constexpr int32_t kAttached = 0;
constexpr int32_t kNoSkinData = 1;
constexpr int32_t kMalformedSkin = 2;
constexpr int32_t kNoResources = 3;

}  // namespace

// The skin data and its byte count; the text and the three integers are
// reserved and not looked at. 0 when the skin is attached; otherwise nothing
// has changed.
extern "C" __declspec(dllexport) int32_t
    __stdcall SkinH_AttachRes(const uint8_t* data, int32_t size, const char*, int32_t, int32_t,
                              int32_t) {
  if (data == nullptr || size <= 0) return kNoSkinData;
  std::optional<SkinColours> colours =
      ParseSkin(std::string_view(reinterpret_cast<const char*>(data), static_cast<size_t>(size)));
  if (!colours) return kMalformedSkin;
  if (!UseColours(*colours)) return kNoResources;
  DWORD thread = GetCurrentThreadId();
  if (gHook == nullptr) {
    gHook = SetWindowsHookExA(WH_CALLWNDPROC, DressNewWindows, gInstance, thread);
  }
  EnumThreadWindows(thread, DressTree, 0);
  return kAttached;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    gInstance = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    // Windows still dressed would call into a library that is gone.
    Undress();
  }
  return TRUE;
}
