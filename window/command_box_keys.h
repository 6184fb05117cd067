#pragma once
// The key rules of CMD编辑框's key-down handler: the key code and modifier
// state it is given, and which of its two shortcuts they make.

#include <cstdint>

// Virtual-key codes, as Windows numbers them.
constexpr int kVkShift = 16;
constexpr int kVkControl = 17;
constexpr int kVkMenu = 18;  // Alt
constexpr int kVkA = 65;
constexpr int kVkC = 67;

constexpr int kModifierCtrl = 1;
constexpr int kModifierShift = 2;
constexpr int kModifierAlt = 4;

// The key code of a WM_KEYDOWN or WM_SYSKEYDOWN: the low byte of wParam,
// with the keypad's digits, minus, decimal point and slash given the codes
// of the main keyboard's keys (48-57, 189, 190, 191).
int FoldKeyCode(uint32_t wParam);

// The sum of kModifierCtrl, kModifierShift and kModifierAlt for the
// modifiers that are down, leaving out the one that the key itself is.
int ModifierState(int keyCode, bool ctrlDown, bool shiftDown, bool altDown);

struct CommandBoxShortcut {
  bool selectAll;
  bool copy;
};

// Ctrl+A selects all and Ctrl+C copies, with Ctrl alone held: any other
// modifier with it makes no shortcut.
CommandBoxShortcut CommandBoxShortcutFor(int keyCode, int modifierState);
