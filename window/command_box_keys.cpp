#include "window/command_box_keys.h"

namespace {

constexpr int kVkNumpad0 = 96;
constexpr int kVkNumpad9 = 105;
constexpr int kVkSubtract = 109;
constexpr int kVkDecimal = 110;
constexpr int kVkDivide = 111;
constexpr int kVkDigit0 = 48;
constexpr int kVkOemMinus = 189;
constexpr int kVkOemPeriod = 190;
constexpr int kVkOem2 = 191;  // the "/" key of the main keyboard

// Key messages carry the generic codes 16-18, but a posted or synthesised
// message can carry the left and right codes, which are the same keys.
constexpr int kVkLShift = 160;
constexpr int kVkRShift = 161;
constexpr int kVkLControl = 162;
constexpr int kVkRControl = 163;
constexpr int kVkLMenu = 164;
constexpr int kVkRMenu = 165;

bool IsShiftKey(int keyCode) {
  return keyCode == kVkShift || keyCode == kVkLShift || keyCode == kVkRShift;
}
bool IsControlKey(int keyCode) {
  return keyCode == kVkControl || keyCode == kVkLControl || keyCode == kVkRControl;
}
bool IsAltKey(int keyCode) {
  return keyCode == kVkMenu || keyCode == kVkLMenu || keyCode == kVkRMenu;
}

}  // namespace

int FoldKeyCode(uint32_t wParam) {
  const int keyCode = static_cast<int>(wParam & 0xFF);
  if (keyCode >= kVkNumpad0 && keyCode <= kVkNumpad9) return kVkDigit0 + (keyCode - kVkNumpad0);
  switch (keyCode) {
    case kVkSubtract:
      return kVkOemMinus;
    case kVkDecimal:
      return kVkOemPeriod;
    case kVkDivide:
      return kVkOem2;
    default:
      return keyCode;
  }
}

int ModifierState(int keyCode, bool ctrlDown, bool shiftDown, bool altDown) {
  // While a modifier key's own press is handled its key state is already
  // down; it must not count, or Ctrl pressed alone would read as state 1.
  int state = 0;
  if (ctrlDown && !IsControlKey(keyCode)) state += kModifierCtrl;
  if (shiftDown && !IsShiftKey(keyCode)) state += kModifierShift;
  if (altDown && !IsAltKey(keyCode)) state += kModifierAlt;
  return state;
}

CommandBoxShortcut CommandBoxShortcutFor(int keyCode, int modifierState) {
  const bool ctrlOnly = modifierState == kModifierCtrl;
  return {.selectAll = ctrlOnly && keyCode == kVkA, .copy = ctrlOnly && keyCode == kVkC};
}
