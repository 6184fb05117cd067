#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "window/xp_look.h"
#include "window/xp_look_rules.h"

namespace {

struct LookedWindow {
  WNDPROC original;
  XpControlKind kind;
  bool comboList;  // the drop-down list of a combo box, framed only
};

// One user-interface thread: plain globals are enough.
std::map<HWND, LookedWindow> gLooked;
HHOOK gHook = nullptr;
int32_t gScheme = 0;
bool gApplied = false;

LRESULT CALLBACK XpLookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

COLORREF ToColorRef(XpColour colour) { return RGB(colour.red, colour.green, colour.blue); }

XpScheme Scheme() {
  std::optional<XpScheme> scheme = XpSchemeColours(gScheme);
  return scheme ? *scheme : *XpSchemeColours(2);
}

std::string ClassNameOf(HWND window) {
  char name[64] = {};
  if (window == nullptr || GetClassNameA(window, name, sizeof name) == 0) return {};
  return name;
}

void FillColour(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void FrameColour(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FrameRect(dc, &rect, brush);
  DeleteObject(brush);
}

// The background the parent gives its static-looking children, as check
// boxes and radio buttons ask for it.
HBRUSH ParentBackground(HWND window, HDC dc) {
  HWND parent = GetParent(window);
  HBRUSH brush = nullptr;
  if (parent != nullptr) {
    brush = reinterpret_cast<HBRUSH>(SendMessageA(
        parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
  }
  return brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

void DrawArrow(HDC dc, const RECT& box, int direction, COLORREF colour) {
  // direction: 0 up, 1 down, 2 left, 3 right. A small solid triangle.
  int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  POINT points[3];
  switch (direction) {
    case 0:
      points[0] = {cx - 3, cy + 1};
      points[1] = {cx + 3, cy + 1};
      points[2] = {cx, cy - 2};
      break;
    case 1:
      points[0] = {cx - 3, cy - 1};
      points[1] = {cx + 3, cy - 1};
      points[2] = {cx, cy + 2};
      break;
    case 2:
      points[0] = {cx + 1, cy - 3};
      points[1] = {cx + 1, cy + 3};
      points[2] = {cx - 2, cy};
      break;
    default:
      points[0] = {cx - 1, cy - 3};
      points[1] = {cx - 1, cy + 3};
      points[2] = {cx + 2, cy};
      break;
  }
  HBRUSH brush = CreateSolidBrush(colour);
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Polygon(dc, points, 3);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

// Without an alignment style a push button centres its caption and a check
// box or radio button starts it at the left: `unaligned` says which.
UINT TextFormatOf(LONG style, UINT unaligned) {
  UINT format = DT_NOCLIP;
  switch (style & BS_CENTER) {
    case BS_LEFT:
      format |= DT_LEFT;
      break;
    case BS_RIGHT:
      format |= DT_RIGHT;
      break;
    case BS_CENTER:
      format |= DT_CENTER;
      break;
    default:
      format |= unaligned;
      break;
  }
  if (!(style & BS_MULTILINE)) format |= DT_SINGLELINE;
  return format;
}

// The caption placed in `area` as the button's alignment styles ask; multi-line
// captions are centred vertically by measuring them first. Returns where the
// text went, empty when there is none.
RECT DrawCaption(HWND window, HDC dc, RECT area, COLORREF colour, UINT unaligned) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  if (text[0] == '\0') return RECT{};
  LONG style = GetWindowLongA(window, GWL_STYLE);
  UINT format = TextFormatOf(style, unaligned);
  if (style & BS_MULTILINE) format |= DT_WORDBREAK;
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  RECT measured = area;
  DrawTextA(dc, text, -1, &measured, format | DT_CALCRECT);
  int height = measured.bottom - measured.top;
  switch (style & BS_VCENTER) {
    case BS_TOP:
      break;
    case BS_BOTTOM:
      area.top = area.bottom - height;
      break;
    default:
      area.top += (area.bottom - area.top - height) / 2;
      break;
  }
  area.bottom = area.top + height;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextA(dc, text, -1, &area, format);
  if (oldFont) SelectObject(dc, oldFont);
  // Where the measured text lies across the area, as the alignment put it.
  int width = measured.right - measured.left;
  if (format & DT_CENTER) {
    area.left += (area.right - area.left - width) / 2;
  } else if (format & DT_RIGHT) {
    area.left = area.right - width;
  }
  area.right = area.left + width;
  return area;
}

bool ShowsFocus(HWND window) {
  return GetFocus() == window && !(SendMessageA(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

void PaintPushButton(HWND window, HDC dc) {
  XpScheme scheme = Scheme();
  RECT client;
  GetClientRect(window, &client);
  LRESULT state = SendMessageA(window, BM_GETSTATE, 0, 0);
  bool pressed = (state & BST_PUSHED) != 0 || (state & BST_CHECKED) != 0;
  bool enabled = IsWindowEnabled(window);
  FillColour(dc, client, ToColorRef(pressed ? scheme.pressed : scheme.face));
  FrameColour(dc, client, ToColorRef(scheme.frame));
  RECT area = client;
  InflateRect(&area, -4, -3);
  if (pressed) OffsetRect(&area, 1, 1);
  DrawCaption(window, dc, area, enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT),
              DT_CENTER);
  if (ShowsFocus(window)) {
    RECT focus = client;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

// What the parent shows where the control lies: the brush it gives its
// static-looking children, then whatever it paints into its client area. A
// tab control paints its page there, in a colour that no brush tells.
void PaintParentBehind(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, ParentBackground(window, dc));
  HWND parent = GetParent(window);
  if (parent == nullptr) return;
  POINT origin = {0, 0};
  MapWindowPoints(window, parent, &origin, 1);
  int saved = SaveDC(dc);
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
  SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  RestoreDC(dc, saved);
}

// The glyph of a check box or radio button, where the control itself puts
// it; returns its box.
RECT PaintCheckGlyph(HWND window, HDC dc, bool radio) {
  XpScheme scheme = Scheme();
  RECT client;
  GetClientRect(window, &client);
  LONG style = GetWindowLongA(window, GWL_STYLE);
  const int size = 13;
  RECT box;
  box.left = (style & BS_LEFTTEXT) ? client.right - size : client.left;
  switch (style & BS_VCENTER) {
    case BS_TOP:
      box.top = client.top;
      break;
    case BS_BOTTOM:
      box.top = client.bottom - size;
      break;
    default:
      box.top = client.top + (client.bottom - client.top - size) / 2;
      break;
  }
  box.right = box.left + size;
  box.bottom = box.top + size;
  LRESULT check = SendMessageA(window, BM_GETCHECK, 0, 0);
  COLORREF frame = ToColorRef(scheme.frame);
  COLORREF mark = IsWindowEnabled(window) ? ToColorRef(scheme.mark) : GetSysColor(COLOR_GRAYTEXT);
  if (radio) {
    HBRUSH field = CreateSolidBrush(ToColorRef(scheme.field));
    HPEN pen = CreatePen(PS_SOLID, 1, frame);
    HGDIOBJ oldBrush = SelectObject(dc, field);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
    if (check == BST_CHECKED) {
      HBRUSH dot = CreateSolidBrush(mark);
      HPEN dotPen = CreatePen(PS_SOLID, 1, mark);
      SelectObject(dc, dot);
      SelectObject(dc, dotPen);
      Ellipse(dc, box.left + 4, box.top + 4, box.right - 4, box.bottom - 4);
      SelectObject(dc, field);
      SelectObject(dc, pen);
      DeleteObject(dot);
      DeleteObject(dotPen);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(field);
    DeleteObject(pen);
    return box;
  }
  FillColour(dc, box, ToColorRef(scheme.field));
  FrameColour(dc, box, frame);
  if (check == BST_CHECKED) {
    // A tick of three strokes, each two pixels thick.
    HPEN pen = CreatePen(PS_SOLID, 1, mark);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    for (int thick = 0; thick < 2; ++thick) {
      MoveToEx(dc, box.left + 3, box.top + 6 + thick, nullptr);
      LineTo(dc, box.left + 5, box.top + 8 + thick);
      LineTo(dc, box.left + 10, box.top + 3 + thick);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  } else if (check == BST_INDETERMINATE) {
    RECT inner = box;
    InflateRect(&inner, -3, -3);
    FillColour(dc, inner, mark);
  }
  return box;
}

// A check box or radio button drawn wholly: on the parent's own background,
// so it shows no band of another colour on a tab page.
void PaintCheckBox(HWND window, HDC dc, bool radio) {
  PaintParentBehind(window, dc);
  RECT glyph = PaintCheckGlyph(window, dc, radio);
  RECT area;
  GetClientRect(window, &area);
  if (GetWindowLongA(window, GWL_STYLE) & BS_LEFTTEXT) {
    area.right = glyph.left - 4;
  } else {
    area.left = glyph.right + 4;
  }
  COLORREF colour = IsWindowEnabled(window) ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT);
  RECT text = DrawCaption(window, dc, area, colour, DT_LEFT);
  if (ShowsFocus(window) && !IsRectEmpty(&text)) {
    InflateRect(&text, 1, 1);
    DrawFocusRect(dc, &text);
  }
}

void PaintGroupBox(HWND window, HDC dc) {
  XpScheme scheme = Scheme();
  RECT client;
  GetClientRect(window, &client);
  HBRUSH background = ParentBackground(window, dc);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  char text[256] = {};
  int length = GetWindowTextA(window, text, sizeof text);
  SIZE extent = {0, 0};
  GetTextExtentPoint32A(dc, text, length, &extent);
  if (extent.cy == 0) {
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    extent.cy = metrics.tmHeight;
  }
  RECT frame = client;
  frame.top += extent.cy / 2;
  FrameColour(dc, frame, ToColorRef(scheme.frame));
  if (length > 0) {
    RECT band = {client.left + 7, client.top, client.left + 9 + extent.cx + 2,
                 client.top + extent.cy};
    FillRect(dc, &band, background);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(
        dc, IsWindowEnabled(window) ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT));
    TextOutA(dc, client.left + 9, client.top, text, length);
  }
  if (oldFont) SelectObject(dc, oldFont);
}

// The frame of an edit box, a combo box or a drop-down list, drawn over the
// outer pixels of the whole window. The sunken edge is two pixels: the outer
// one takes the scheme's frame, the inner one the field's own background.
void PaintOuterFrame(HWND window, bool twoPixels) {
  RECT bounds;
  GetWindowRect(window, &bounds);
  OffsetRect(&bounds, -bounds.left, -bounds.top);
  HDC dc = GetWindowDC(window);
  if (dc == nullptr) return;
  FrameColour(dc, bounds, ToColorRef(Scheme().frame));
  if (twoPixels) {
    InflateRect(&bounds, -1, -1);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    bool plain = !IsWindowEnabled(window) || (style & ES_READONLY);
    FrameColour(dc, bounds, GetSysColor(plain ? COLOR_BTNFACE : COLOR_WINDOW));
  }
  ReleaseDC(window, dc);
}

bool HasSunkenEdge(HWND window) {
  return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
}

bool HasAnyFrame(HWND window) {
  return HasSunkenEdge(window) || (GetWindowLongA(window, GWL_STYLE) & WS_BORDER) != 0;
}

void PaintComboBox(HWND window) {
  XpScheme scheme = Scheme();
  PaintOuterFrame(window, true);
  COMBOBOXINFO info = {};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(window, &info) || IsRectEmpty(&info.rcButton)) return;
  HDC dc = GetDC(window);
  if (dc == nullptr) return;
  bool pressed = (info.stateButton & STATE_SYSTEM_PRESSED) != 0;
  FillColour(dc, info.rcButton, ToColorRef(pressed ? scheme.pressed : scheme.face));
  FrameColour(dc, info.rcButton, ToColorRef(scheme.frame));
  DrawArrow(dc, info.rcButton, 1,
            IsWindowEnabled(window) ? ToColorRef(scheme.mark) : GetSysColor(COLOR_GRAYTEXT));
  ReleaseDC(window, dc);
}

void PaintUpDown(HWND window, HDC dc) {
  XpScheme scheme = Scheme();
  RECT client;
  GetClientRect(window, &client);
  bool horizontal = (GetWindowLongA(window, GWL_STYLE) & UDS_HORZ) != 0;
  RECT first = client, second = client;
  if (horizontal) {
    first.right = second.left = (client.left + client.right) / 2;
  } else {
    first.bottom = second.top = (client.top + client.bottom) / 2;
  }
  COLORREF mark = IsWindowEnabled(window) ? ToColorRef(scheme.mark) : GetSysColor(COLOR_GRAYTEXT);
  for (const RECT* half : {&first, &second}) {
    FillColour(dc, *half, ToColorRef(scheme.face));
    FrameColour(dc, *half, ToColorRef(scheme.frame));
  }
  DrawArrow(dc, first, horizontal ? 2 : 0, mark);
  DrawArrow(dc, second, horizontal ? 3 : 1, mark);
}

// The look drawn again after the control has drawn itself outside WM_PAINT,
// as buttons do when pressed, focused or checked.
void RepaintLook(HWND window, const LookedWindow& looked) {
  if (looked.comboList) {
    PaintOuterFrame(window, false);
    return;
  }
  switch (looked.kind) {
    case XpControlKind::Edit:
      if (HasAnyFrame(window)) PaintOuterFrame(window, HasSunkenEdge(window));
      return;
    case XpControlKind::ComboBox:
      PaintComboBox(window);
      return;
    default:
      break;
  }
  HDC dc = GetDC(window);
  if (dc == nullptr) return;
  switch (looked.kind) {
    case XpControlKind::PushButton:
      PaintPushButton(window, dc);
      break;
    case XpControlKind::CheckBox:
      PaintCheckBox(window, dc, false);
      break;
    case XpControlKind::RadioButton:
      PaintCheckBox(window, dc, true);
      break;
    case XpControlKind::GroupBox:
      PaintGroupBox(window, dc);
      break;
    case XpControlKind::UpDown:
      PaintUpDown(window, dc);
      break;
    default:
      break;
  }
  ReleaseDC(window, dc);
}

// Messages after which a control may have drawn itself directly.
bool MayDrawDirectly(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_CAPTURECHANGED:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SIZE:
    case WM_UPDATEUISTATE:
    case BM_SETSTATE:
    case BM_SETCHECK:
    case BM_SETSTYLE:
    case CB_SETCURSEL:
    case CB_SHOWDROPDOWN:
    case EM_SETREADONLY:
    case WM_STYLECHANGED:
      return true;
    default:
      return false;
  }
}

// Buttons of every kind and up-down controls are drawn wholly by the look.
bool PaintsWholly(const LookedWindow& looked) {
  return !looked.comboList &&
         (looked.kind == XpControlKind::PushButton || looked.kind == XpControlKind::CheckBox ||
          looked.kind == XpControlKind::RadioButton || looked.kind == XpControlKind::GroupBox ||
          looked.kind == XpControlKind::UpDown);
}

void Redraw(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void GiveLookAs(HWND window, XpControlKind kind, bool comboList) {
  if (gLooked.count(window)) return;
  auto original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(XpLookProc)));
  if (original == nullptr) return;
  gLooked[window] = LookedWindow{original, kind, comboList};
  // A hidden control gets its look when it is next painted, on showing.
  if (IsWindowVisible(window)) Redraw(window);
}

void GiveComboListLook(HWND combo) {
  COMBOBOXINFO info = {};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(combo, &info) && info.hwndList != nullptr) {
    GiveLookAs(info.hwndList, XpControlKind::ComboBox, true);
  }
}

void GiveLook(HWND window) {
  XpControlKind kind =
      XpControlKindOf(ClassNameOf(window), static_cast<uint32_t>(GetWindowLongA(window, GWL_STYLE)),
                      ClassNameOf(GetParent(window)));
  if (kind == XpControlKind::None) return;
  GiveLookAs(window, kind, false);
  if (kind == XpControlKind::ComboBox) GiveComboListLook(window);
}

LRESULT CALLBACK XpLookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto found = gLooked.find(window);
  if (found == gLooked.end()) return DefWindowProcA(window, message, wParam, lParam);
  LookedWindow looked = found->second;
  switch (message) {
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(looked.original));
      gLooked.erase(found);
      return CallWindowProcA(looked.original, window, message, wParam, lParam);
    case WM_ERASEBKGND:
      if (PaintsWholly(looked)) return 1;
      break;
    case WM_PAINT:
      if (PaintsWholly(looked)) {
        PAINTSTRUCT paint;
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(window, &paint);
        if (looked.kind == XpControlKind::PushButton) PaintPushButton(window, dc);
        if (looked.kind == XpControlKind::CheckBox) PaintCheckBox(window, dc, false);
        if (looked.kind == XpControlKind::RadioButton) PaintCheckBox(window, dc, true);
        if (looked.kind == XpControlKind::GroupBox) PaintGroupBox(window, dc);
        if (looked.kind == XpControlKind::UpDown) PaintUpDown(window, dc);
        if (!wParam) EndPaint(window, &paint);
        return 0;
      }
      break;
    default:
      break;
  }
  LRESULT result = CallWindowProcA(looked.original, window, message, wParam, lParam);
  if (message == WM_CREATE && looked.kind == XpControlKind::ComboBox && !looked.comboList) {
    GiveComboListLook(window);
  }
  // The look may have been removed while the control handled the message.
  if (!gLooked.count(window)) return result;
  // A control that is not on the screen has drawn nothing: it is painted,
  // look and all, when it is shown. This keeps the writes into hidden boxes
  // at start from drawing frames that nobody sees.
  const bool painted = message == WM_PAINT || message == WM_NCPAINT ||
                       (MayDrawDirectly(message) && IsWindowVisible(window));
  if (painted) RepaintLook(window, looked);
  return result;
}

LRESULT CALLBACK XpLookHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == WM_CREATE) {
      GiveLook(call->hwnd);
      // A drop-down list is created inside its combo box's own creation.
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(call->lParam);
      auto owner = create ? gLooked.find(create->hwndParent) : gLooked.end();
      if (owner != gLooked.end() && owner->second.kind == XpControlKind::ComboBox &&
          !owner->second.comboList && ClassNameOf(call->hwnd) == "ComboLBox") {
        GiveLookAs(call->hwnd, XpControlKind::ComboBox, true);
      }
    }
  }
  return CallNextHookEx(gHook, code, wParam, lParam);
}

BOOL CALLBACK GiveLookToChild(HWND window, LPARAM) {
  GiveLook(window);
  return TRUE;
}

BOOL CALLBACK GiveLookToTree(HWND window, LPARAM) {
  GiveLook(window);
  // Reaches every descendant, not only the direct children.
  EnumChildWindows(window, GiveLookToChild, 0);
  return TRUE;
}

bool RemoveXpLook() {
  std::map<HWND, LookedWindow> looked = std::move(gLooked);
  gLooked.clear();
  for (const auto& [window, entry] : looked) {
    if (!IsWindow(window)) continue;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.original));
    Redraw(window);
  }
  gApplied = false;
  if (gHook == nullptr) return false;
  bool unhooked = UnhookWindowsHookEx(gHook) != FALSE;
  gHook = nullptr;
  return unhooked;
}

}  // namespace

bool ApplyXpLook(int scheme) {
  gScheme = scheme;
  if (!XpSchemeColours(scheme)) return RemoveXpLook();
  RemoveXpLook();
  DWORD thread = GetCurrentThreadId();
  gHook = SetWindowsHookExA(WH_CALLWNDPROC, XpLookHook, nullptr, thread);
  gApplied = true;
  EnumThreadWindows(thread, GiveLookToTree, 0);
  return true;
}

bool XpLookApplied() { return gApplied; }

int32_t CurrentXpScheme() { return gScheme; }
