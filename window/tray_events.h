#pragma once
// The rules of the notification-area icon that do not need Windows: which
// mouse messages are tray events, the fixed values of the icon's entry and
// the tip field.

#include <array>
#include <cstdint>
#include <string_view>

// Mouse messages that the notification area passes along with the callback
// message, as Windows numbers them.
constexpr uint32_t kWmContextMenu = 0x007B;
constexpr uint32_t kWmLButtonUp = 0x0202;
constexpr uint32_t kWmLButtonDblClk = 0x0203;
constexpr uint32_t kWmRButtonUp = 0x0205;

constexpr uint32_t kWmApp = 0x8000;
// The message the notification area sends MainWindow for its icon: 32868.
constexpr uint32_t kTrayCallbackMessage = kWmApp + 100;
constexpr uint32_t kTrayIconId = 100;
// The first form of NOTIFYICONDATAA, the one every shell version accepts;
// its tip field is 64 bytes.
constexpr uint32_t kNotifyIconDataSize = 88;
constexpr std::string_view kTrayTip = "Tavrel";

constexpr int kTrayEventNone = 0;
constexpr int kTrayEventLeftUp = 1;
constexpr int kTrayEventDoubleClick = 2;
constexpr int kTrayEventMenu = 3;

// The tray event type of a mouse message, kTrayEventNone for the ones that
// are not events.
int TrayEventType(uint32_t mouseMessage);

constexpr size_t kTrayTipFieldSize = 64;
constexpr size_t kTrayTipMaxBytes = 62;

// The tip as the record's zero-filled field holds it: at most 62 bytes of the
// text, cut before a two-byte character that would not fit whole.
std::array<char, kTrayTipFieldSize> TrayTipField(std::string_view tip);
