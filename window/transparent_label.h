#pragma once
#include <windows.h>

// The class of the transparent labels: they paint only their caption.
inline constexpr char kTransparentLabelClass[] = "TavrelTransparentLabel";
bool RegisterTransparentLabelClass(HINSTANCE instance);
