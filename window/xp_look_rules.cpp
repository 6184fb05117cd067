#include "window/xp_look_rules.h"

#include <cstddef>

namespace {

// Window classes compare without regard to ASCII case, as the system does.
bool SameClass(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t at = 0; at < a.size(); ++at) {
    auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    if (fold(a[at]) != fold(b[at])) return false;
  }
  return true;
}

// Button styles, as the system defines them.
constexpr uint32_t kButtonTypeMask = 0x0F;
constexpr uint32_t kPushButton = 0x0, kDefPushButton = 0x1, kCheckBox = 0x2, kAutoCheckBox = 0x3,
                   kRadioButton = 0x4, kThreeState = 0x5, kAutoThreeState = 0x6, kGroupBox = 0x7,
                   kAutoRadioButton = 0x9;
constexpr uint32_t kBitmapButton = 0x80;
constexpr uint32_t kPushLike = 0x1000;
constexpr uint32_t kComboTypeMask = 0x3, kSimpleCombo = 0x1;

XpControlKind ButtonKind(uint32_t style) {
  if (style & kBitmapButton) return XpControlKind::None;
  bool pushLike = (style & kPushLike) != 0;
  switch (style & kButtonTypeMask) {
    case kPushButton:
    case kDefPushButton:
      return XpControlKind::PushButton;
    case kCheckBox:
    case kAutoCheckBox:
    case kThreeState:
    case kAutoThreeState:
      return pushLike ? XpControlKind::PushButton : XpControlKind::CheckBox;
    case kRadioButton:
    case kAutoRadioButton:
      return pushLike ? XpControlKind::PushButton : XpControlKind::RadioButton;
    case kGroupBox:
      return XpControlKind::GroupBox;
    default:
      // Owner-drawn, user and split buttons and command links draw themselves.
      return XpControlKind::None;
  }
}

}  // namespace

XpControlKind XpControlKindOf(std::string_view className, uint32_t style,
                              std::string_view parentClassName) {
  if (SameClass(className, "Button")) return ButtonKind(style);
  if (SameClass(className, "Edit")) {
    // The four fields of an IP-address control keep the control's own look.
    return SameClass(parentClassName, "SysIPAddress32") ? XpControlKind::None : XpControlKind::Edit;
  }
  if (SameClass(className, "ComboBox")) {
    return (style & kComboTypeMask) == kSimpleCombo ? XpControlKind::None : XpControlKind::ComboBox;
  }
  if (SameClass(className, "msctls_updown32")) return XpControlKind::UpDown;
  return XpControlKind::None;
}

std::optional<XpScheme> XpSchemeColours(int32_t scheme) {
  switch (scheme) {
    case 1:  // blue
      return XpScheme{
          {123, 158, 189}, {236, 242, 250}, {200, 218, 238}, {33, 66, 132}, {255, 255, 255}};
    case 2:  // olive green
      return XpScheme{
          {164, 185, 127}, {244, 246, 236}, {220, 230, 196}, {86, 110, 40}, {255, 255, 255}};
    case 3:  // silver
      return XpScheme{
          {198, 197, 215}, {246, 246, 250}, {222, 222, 234}, {76, 76, 110}, {255, 255, 255}};
    default:
      return std::nullopt;
  }
}
