#include "window/tray_icon.h"

#include <shellapi.h>

#include <optional>
#include <span>

#include "resources/resource_ids.h"
#include "window/ico_image.h"
#include "window/tray_events.h"
#include "window/window_declaration.h"

namespace {

HICON g_trayIcon = nullptr;

std::span<const uint8_t> EmbeddedIconFile() {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDR_ICON_BYTES), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return {static_cast<const uint8_t*>(bytes), SizeofResource(module, found)};
}

HICON IconFromImage(std::span<const uint8_t> file, const IcoImage& image) {
  // CreateIconFromResourceEx wants a writable buffer type, but does not write.
  PBYTE bits = const_cast<PBYTE>(file.data() + image.offset);
  HICON icon = CreateIconFromResourceEx(bits, image.size, TRUE, 0x30000, image.width, image.height,
                                        LR_DEFAULTCOLOR);
  if (!icon && image.bitCount != 16) icon = CreateIconFromResource(bits, image.size, TRUE, 0x30000);
  return icon;
}

HICON MakeTrayIcon(std::span<const uint8_t> file) {
  for (int width : {kTrayIconWidth, kTrayIconRetryWidth}) {
    const std::optional<IcoImage> image = ChooseIcoImage(file, width);
    if (!image) return nullptr;
    if (HICON icon = IconFromImage(file, *image)) return icon;
  }
  return nullptr;
}

NOTIFYICONDATAA IconRecord(HWND window, HICON icon) {
  NOTIFYICONDATAA record{};
  // The first, 88-byte form of the record is understood by every shell.
  record.cbSize = kNotifyIconDataSize;
  record.hWnd = window;
  record.uID = kTrayIconId;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = kTrayCallbackMessage;
  record.hIcon = icon;
  const auto tip = TrayTipField(kTrayTip);
  std::copy(tip.begin(), tip.end(), record.szTip);
  return record;
}

}  // namespace

void InstallTrayIcon(HWND window) {
  HICON icon = MakeTrayIcon(EmbeddedIconFile());
  NOTIFYICONDATAA record = IconRecord(window, icon);
  if (!g_trayIcon && icon) {
    Shell_NotifyIconA(NIM_ADD, &record);
  } else if (g_trayIcon && icon) {
    Shell_NotifyIconA(NIM_MODIFY, &record);
    DestroyIcon(g_trayIcon);
  } else if (g_trayIcon) {
    Shell_NotifyIconA(NIM_DELETE, &record);
    DestroyIcon(g_trayIcon);
  }
  g_trayIcon = icon;
}

void ReinstallTrayIcon(HWND window) {
  if (!g_trayIcon) return;
  NOTIFYICONDATAA record = IconRecord(window, g_trayIcon);
  Shell_NotifyIconA(NIM_ADD, &record);
}

void RemoveTrayIcon(HWND window) {
  if (!g_trayIcon) return;
  NOTIFYICONDATAA record = IconRecord(window, g_trayIcon);
  Shell_NotifyIconA(NIM_DELETE, &record);
}

void PopUpTrayMenu(HWND window) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  for (const TrayMenuItemDeclaration& item : TrayMenuItems()) {
    AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(kMenuCommandBase + item.position), item.caption);
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  // Without the foreground the menu would not close on a click elsewhere.
  SetForegroundWindow(window);
  TrackPopupMenu(menu, TPM_RIGHTALIGN, cursor.x - 5, cursor.y - 5, 0, window, nullptr);
  // Lets the menu's own mode end before the next click.
  PostMessageA(window, WM_NULL, 0, 0);
  DestroyMenu(menu);
}
