#pragma once
// The built-in XP look: which controls it takes and the colours of its three
// schemes. Plain data, so the choices can be checked on the build machine.

#include <cstdint>
#include <optional>
#include <string_view>

enum class XpControlKind {
  None,
  PushButton,
  CheckBox,
  RadioButton,
  GroupBox,
  Edit,
  ComboBox,
  UpDown
};

// The kind of look a window takes, from its window class, its style and the
// window class of its parent. A combo box's drop-down list is not judged on
// its own: it goes with its combo box.
XpControlKind XpControlKindOf(std::string_view className, uint32_t style,
                              std::string_view parentClassName);

struct XpColour {
  uint8_t red, green, blue;
  friend bool operator==(const XpColour&, const XpColour&) = default;
};

struct XpScheme {
  XpColour frame;    // the one-pixel outer frame of a framed control
  XpColour face;     // push buttons, up-down arrows, the combo box button
  XpColour pressed;  // a face while pressed, or a push-like button checked
  XpColour mark;     // check marks, radio dots and arrows
  XpColour field;    // inside check boxes and radio buttons
};

// The colours of scheme 1, 2 or 3; no value for any other number.
std::optional<XpScheme> XpSchemeColours(int32_t scheme);
