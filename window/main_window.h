#pragma once
// MainWindow: building it from its declaration, its window procedure, the
// controls behind the Controls interface, and the program's other windows.

#include <windows.h>

#include <string>

#include "window/controls.h"

// Builds MainWindow hidden, with its invisible owner and every control, then
// runs its creation handler. Returns NULL when the window cannot be made.
HWND BuildMainWindow(HINSTANCE instance, const std::string& runDirectory);
HWND MainWindowHandle();
Controls& MainWindowControls();
// The application's pre-translation of messages: Tab among the tab stops of
// the current page and the command box's key-down handler. True when the
// message was consumed.
bool PreTranslateMainWindowMessage(MSG* message);
// The first step of the orderly end: the tray icon goes, then the windows.
void DestroyProgramWindows();
bool ProgramWindowExists();
