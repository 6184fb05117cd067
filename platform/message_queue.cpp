#include "platform/message_queue.h"

namespace {

MessagePreTranslation installedPreTranslation = nullptr;

}  // namespace

void SetMessagePreTranslation(MessagePreTranslation preTranslate) {
  installedPreTranslation = preTranslate;
}

bool RunMessagePreTranslation(MSG* message) {
  return installedPreTranslation != nullptr && installedPreTranslation(message);
}

uint32_t ThreadMessageSource::TickCount() { return GetTickCount(); }

PendingMessage ThreadMessageSource::PeekPending() {
  MSG message;
  if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) return PendingMessage::kNone;
  return message.message == WM_QUIT ? PendingMessage::kQuit : PendingMessage::kOther;
}

void ThreadMessageSource::TakeAndDispatchOne() {
  MSG message;
  const BOOL got = GetMessageA(&message, nullptr, 0, 0);
  if (got == 0) {
    // GetMessageA took a WM_QUIT after all; put it back for the message loop.
    PostQuitMessage(static_cast<int>(message.wParam));
    return;
  }
  if (got == -1) return;
  if (RunMessagePreTranslation(&message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}
