#include "actions/pump_events.h"

namespace {

void HandlePendingMessages(MessageSource& source) {
  // WM_QUIT stays queued so the message loop still sees it and ends the program.
  while (source.PeekPending() == PendingMessage::kOther) source.TakeAndDispatchOne();
}

void HandlePendingMessagesTwice(MessageSource& source) {
  HandlePendingMessages(source);
  HandlePendingMessages(source);
}

}  // namespace

void PumpEventsFor(int32_t milliseconds, MessageSource& source) {
  if (milliseconds <= 0) return;
  const uint32_t count = static_cast<uint32_t>(milliseconds);
  const uint32_t start = source.TickCount();
  for (;;) {
    HandlePendingMessagesTwice(source);
    // Elapsed time, not a comparison against start + count: the tick count
    // wraps every 49.7 days, and a wrapped end would make every tick look late.
    if (source.TickCount() - start > count) return;
    HandlePendingMessagesTwice(source);
  }
}
