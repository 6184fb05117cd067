#pragma once
// Putting a check mark on or off one button, and only that one.
//
// Under version 6 of the common controls, which the program's manifest asks
// for, an automatic radio button that is checked by message also clears the
// other automatic radio buttons of its group, and each button that is
// checked or cleared by message has its tab-stop style set or removed. A
// write of the checked state must change the written button alone, so for
// the write the button is a plain radio button, and its own style is put
// back afterwards.
#include <windows.h>

inline void WriteButtonCheckedAlone(HWND button, bool checked) {
  const LONG style = GetWindowLongA(button, GWL_STYLE);
  const bool automaticRadio = (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
  if (automaticRadio) SetWindowLongA(button, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_RADIOBUTTON);
  SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (GetWindowLongA(button, GWL_STYLE) != style) SetWindowLongA(button, GWL_STYLE, style);
}
