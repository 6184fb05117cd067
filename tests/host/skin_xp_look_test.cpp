#include <gtest/gtest.h>

#include <cstdint>

#include "window/xp_look_rules.h"

namespace {

TEST(XpControlKindOf, TakesTheListedControlsOnly) {
  using K = XpControlKind;
  struct Case {
    const char* className;
    uint32_t style;
    const char* parent;
    XpControlKind kind;
  } cases[] = {
      {"Button", 0x0, "", K::PushButton},                    // BS_PUSHBUTTON
      {"button", 0x1, "", K::PushButton},                    // BS_DEFPUSHBUTTON, any case
      {"BUTTON", 0x2000, "", K::PushButton},                 // BS_MULTILINE alone is a push button
      {"Button", 0x2, "", K::CheckBox},                      // BS_CHECKBOX
      {"Button", 0x3, "", K::CheckBox},                      // BS_AUTOCHECKBOX
      {"Button", 0x5, "", K::CheckBox},                      // BS_3STATE
      {"Button", 0x6, "", K::CheckBox},                      // BS_AUTO3STATE
      {"Button", 0x4, "", K::RadioButton},                   // BS_RADIOBUTTON
      {"Button", 0x9 | 0x2000 | 0xC00, "", K::RadioButton},  // the program's own radio buttons
      {"Button", 0x7, "", K::GroupBox},                      // BS_GROUPBOX
      {"Button", 0x3 | 0x1000, "", K::PushButton},           // push-like check box
      {"Button", 0x9 | 0x1000, "", K::PushButton},           // push-like radio button
      {"Button", 0x0 | 0x80, "", K::None},                   // BS_BITMAP
      {"Button", 0x9 | 0x80, "", K::None},
      {"Button", 0x8, "", K::None},  // BS_USERBUTTON
      {"Button", 0xB, "", K::None},  // BS_OWNERDRAW
      {"Button", 0xC, "", K::None},  // split button
      {"Edit", 0x80, "Tavrel.", K::Edit},
      {"EDIT", 0x0, "", K::Edit},
      {"Edit", 0x0, "SysIPAddress32", K::None},
      {"Edit", 0x0, "sysipaddress32", K::None},
      {"ComboBox", 0x2, "", K::ComboBox},  // CBS_DROPDOWN
      {"ComboBox", 0x3, "", K::ComboBox},  // CBS_DROPDOWNLIST
      {"ComboBox", 0x1, "", K::None},      // CBS_SIMPLE
      {"ComboBox", 0x1 | 0x40, "", K::None},
      {"ComboLBox", 0x0, "", K::None},  // judged with its combo box
      {"msctls_updown32", 0x0, "", K::UpDown},
      {"SysTabControl32", 0x0, "", K::None},
      {"Static", 0x0, "", K::None},
      {"ListBox", 0x0, "", K::None},
      {"Buttonx", 0x0, "", K::None},
      {"", 0x0, "", K::None},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(XpControlKindOf(c.className, c.style, c.parent), c.kind)
        << c.className << " style 0x" << std::hex << c.style << " parent " << c.parent;
  }
}

TEST(XpSchemeColours, FramesOfTheThreeSchemes) {
  struct Case {
    int32_t scheme;
    XpColour frame;
  } cases[] = {{1, {123, 158, 189}}, {2, {164, 185, 127}}, {3, {198, 197, 215}}};
  for (const Case& c : cases) {
    std::optional<XpScheme> scheme = XpSchemeColours(c.scheme);
    ASSERT_TRUE(scheme.has_value()) << c.scheme;
    EXPECT_EQ(scheme->frame, c.frame) << c.scheme;
    // A face lighter than its frame, so the frame shows.
    EXPECT_GT(scheme->face.red + scheme->face.green + scheme->face.blue,
              scheme->frame.red + scheme->frame.green + scheme->frame.blue)
        << c.scheme;
  }
}

TEST(XpSchemeColours, OtherNumbersHaveNoScheme) {
  for (int32_t scheme : {0, -1, 4, 255, INT32_MIN}) {
    EXPECT_FALSE(XpSchemeColours(scheme).has_value()) << scheme;
  }
}

}  // namespace
