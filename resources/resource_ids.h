#pragma once
// Identifiers shared by tavrel.rc and the program.
#define IDI_APPLICATION_ICON 1
// The icon file's own bytes, for the tray icon, which is made from them.
#define IDR_ICON_BYTES 101
