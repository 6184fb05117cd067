#pragma once
// The notification-area entry of MainWindow and the popup of TrayMenu.

#include <windows.h>

// Makes the icon from the program's embedded icon file and adds (or updates,
// or removes) the entry.
void InstallTrayIcon(HWND window);
// Adds the entry again after the notification area has restarted.
void ReinstallTrayIcon(HWND window);
void RemoveTrayIcon(HWND window);
// Builds TrayMenu anew and tracks it at the mouse position; a chosen item
// reaches the window as WM_COMMAND.
void PopUpTrayMenu(HWND window);
