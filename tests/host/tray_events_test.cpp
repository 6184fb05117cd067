#include "window/tray_events.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

TEST(TrayEventType, MapsTheMouseMessagesOfTheIcon) {
  struct Case {
    uint32_t message;
    int type;
  };
  const Case cases[] = {
      {0x0202, 1},      // WM_LBUTTONUP
      {0x0203, 2},      // WM_LBUTTONDBLCLK
      {0x0205, 3},      // WM_RBUTTONUP
      {0x007B, 3},      // WM_CONTEXTMENU
      {0x0200, 0},      // WM_MOUSEMOVE
      {0x0201, 0},      // WM_LBUTTONDOWN
      {0x0204, 0},      // WM_RBUTTONDOWN
      {0x0206, 0},      // WM_RBUTTONDBLCLK
      {0x0207, 0},      // WM_MBUTTONDOWN
      {0x0208, 0},      // WM_MBUTTONUP
      {0x0400, 0},      // NIN_SELECT
      {0x0401, 0},      // NIN_KEYSELECT
      {0, 0},           // no message at all
      {0x00010202, 0},  // only an exact message counts, not its low word
      {0xFFFFFFFF, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TrayEventType(c.message), c.type) << "message 0x" << std::hex << c.message;
  }
}

TEST(TrayEventType, ADoubleClickGivesReleaseDoubleClickRelease) {
  // What the notification area sends for a double click, in order.
  const uint32_t doubleClick[] = {0x0201, 0x0202, 0x0203, 0x0202};
  std::string types;
  for (uint32_t message : doubleClick) {
    const int type = TrayEventType(message);
    if (type != kTrayEventNone) types += std::to_string(type);
  }
  EXPECT_EQ(types, "121");
}

TEST(TrayConstants, AreTheValuesOfTheIconEntry) {
  EXPECT_EQ(kTrayCallbackMessage, 32868u);
  EXPECT_EQ(kTrayIconId, 100u);
  EXPECT_EQ(kNotifyIconDataSize, 88u);
  EXPECT_EQ(kTrayTip, "Tavrel");
}

std::string FieldText(const std::array<char, kTrayTipFieldSize>& field) {
  return std::string(field.data(), std::find(field.begin(), field.end(), '\0'));
}

bool TailIsZero(const std::array<char, kTrayTipFieldSize>& field, size_t from) {
  return std::all_of(field.begin() + from, field.end(), [](char c) { return c == '\0'; });
}

TEST(TrayTipField, CopiesTheTipAndZeroFillsTheRest) {
  const auto field = TrayTipField(kTrayTip);
  EXPECT_EQ(FieldText(field), "Tavrel");
  EXPECT_TRUE(TailIsZero(field, 6));
}

TEST(TrayTipField, AnEmptyTipGivesAnAllZeroField) { EXPECT_TRUE(TailIsZero(TrayTipField(""), 0)); }

TEST(TrayTipField, CopiesAtMost62Bytes) {
  struct Case {
    size_t length;
    size_t copied;
  };
  const Case cases[] = {{61, 61}, {62, 62}, {63, 62}, {64, 62}, {200, 62}};
  for (const Case& c : cases) {
    const std::string tip(c.length, 'x');
    const auto field = TrayTipField(tip);
    EXPECT_EQ(FieldText(field), std::string(c.copied, 'x')) << "length " << c.length;
    EXPECT_TRUE(TailIsZero(field, c.copied)) << "length " << c.length;
  }
}

TEST(TrayTipField, NeverCutsATwoByteCharacterInHalf) {
  struct Case {
    std::string tip;
    std::string expected;
  };
  const std::string wide31 = [] {
    std::string s;
    for (int i = 0; i < 31; ++i) s += "关";
    return s;
  }();
  const Case cases[] = {
      // 31 whole characters are exactly 62 bytes.
      {wide31, wide31},
      {wide31 + "机", wide31},
      // 61 single bytes and then a character: its lead byte would be the
      // 62nd byte alone, so the character is left out whole.
      {std::string(61, 'a') + "关机", std::string(61, 'a')},
      {std::string(60, 'a') + "关机", std::string(60, 'a') + "关"},
      // A text whose last byte is a lead byte without its partner.
      {"Tavrel\xB9", "Tavrel"},
      // 0x80 counts as a lead byte too.
      {"ab\x80", "ab"},
  };
  for (const Case& c : cases) {
    const auto field = TrayTipField(c.tip);
    EXPECT_EQ(FieldText(field), c.expected) << "tip of " << c.tip.size() << " bytes";
    EXPECT_TRUE(TailIsZero(field, c.expected.size())) << "tip of " << c.tip.size() << " bytes";
  }
}

TEST(TrayTipField, KeepsTheGbkBytesOfAChineseTip) {
  const auto field = TrayTipField("关机");
  EXPECT_EQ(FieldText(field), "\xB9\xD8\xBB\xFA");
}

}  // namespace
