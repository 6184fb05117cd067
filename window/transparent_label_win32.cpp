#include "window/transparent_label.h"

namespace {

constexpr char kFontProperty[] = "TavrelLabelFont";

void PaintCaption(HWND label) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(label, &paint);
  char caption[256];
  const int length = GetWindowTextA(label, caption, sizeof caption);
  if (length > 0) {
    RECT area;
    GetClientRect(label, &area);
    HGDIOBJ font = GetPropA(label, kFontProperty);
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextA(dc, caption, length, &area, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
    if (previous) SelectObject(dc, previous);
  }
  EndPaint(label, &paint);
}

LRESULT CALLBACK TransparentLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintCaption(label);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // what lies under the label shows through
    case WM_SETFONT:
      SetPropA(label, kFontProperty, reinterpret_cast<HANDLE>(wParam));
      if (LOWORD(lParam)) InvalidateRect(label, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(GetPropA(label, kFontProperty));
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(label, message, wParam, lParam);
      InvalidateRect(label, nullptr, TRUE);
      return result;
    }
    case WM_NCDESTROY:
      RemovePropA(label, kFontProperty);
      break;
  }
  return DefWindowProcA(label, message, wParam, lParam);
}

}  // namespace

bool RegisterTransparentLabelClass(HINSTANCE instance) {
  WNDCLASSA labelClass{};
  labelClass.style = CS_HREDRAW | CS_VREDRAW;
  labelClass.lpfnWndProc = TransparentLabelProc;
  labelClass.hInstance = instance;
  labelClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  labelClass.hbrBackground = nullptr;
  labelClass.lpszClassName = kTransparentLabelClass;
  return RegisterClassA(&labelClass) != 0;
}
