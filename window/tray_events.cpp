#include "window/tray_events.h"

int TrayEventType(uint32_t mouseMessage) {
  switch (mouseMessage) {
    case kWmLButtonUp:
      return kTrayEventLeftUp;
    case kWmLButtonDblClk:
      return kTrayEventDoubleClick;
    // Newer shells send WM_CONTEXTMENU for a right click (and for the menu
    // key) where older ones send WM_RBUTTONUP; both pop up the menu.
    case kWmRButtonUp:
    case kWmContextMenu:
      return kTrayEventMenu;
    default:
      return kTrayEventNone;
  }
}

namespace {

// A byte of 0x80 or more starts a two-byte character of the ANSI code page.
size_t CharacterLength(unsigned char firstByte) { return firstByte >= 0x80 ? 2 : 1; }

}  // namespace

std::array<char, kTrayTipFieldSize> TrayTipField(std::string_view tip) {
  std::array<char, kTrayTipFieldSize> field{};
  // Cutting between the two bytes of a character would leave a lead byte
  // that the shell pairs with the terminating zero and shows as garbage, so
  // the cut is made before the whole character; a text that itself ends in a
  // lone lead byte loses it the same way.
  size_t copied = 0;
  while (copied < tip.size()) {
    const size_t length = CharacterLength(static_cast<unsigned char>(tip[copied]));
    if (copied + length > tip.size() || copied + length > kTrayTipMaxBytes) break;
    for (size_t i = 0; i < length; ++i) field[copied + i] = tip[copied + i];
    copied += length;
  }
  return field;
}
