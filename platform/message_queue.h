#pragma once
// The thread's message queue as the message pump of the tray menu items sees
// it, and the application's pre-translation of messages, which that pump and
// the program's message loop both honour.

#include <windows.h>

#include "actions/pump_events.h"

// Returns true when it has handled the message itself, which then is neither
// translated nor dispatched (the command box's shortcuts use it).
using MessagePreTranslation = bool (*)(MSG* message);

// Installs the pre-translation; nullptr removes it.
void SetMessagePreTranslation(MessagePreTranslation preTranslate);

// True when the installed pre-translation consumed the message. The message
// loop calls this before TranslateMessage and DispatchMessageA.
bool RunMessagePreTranslation(MSG* message);

class ThreadMessageSource final : public MessageSource {
 public:
  uint32_t TickCount() override;
  PendingMessage PeekPending() override;
  void TakeAndDispatchOne() override;
};
