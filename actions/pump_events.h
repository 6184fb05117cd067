#pragma once
// PumpEventsFor: lets the thread's pending window messages run for a while, so
// that a tray menu handler does not freeze the window while it waits.

#include <cstdint>

enum class PendingMessage { kNone, kQuit, kOther };

// The thread's message queue and clock. The real one is ThreadMessageSource
// (platform/message_queue.h).
class MessageSource {
 public:
  virtual ~MessageSource() = default;
  // Milliseconds since the system started; wraps after about 49.7 days.
  virtual uint32_t TickCount() = 0;
  // What is at the front of the queue, without taking it.
  virtual PendingMessage PeekPending() = 0;
  // Takes one message and, unless the application's pre-translation consumes
  // it, translates and dispatches it.
  virtual void TakeAndDispatchOne() = 0;
};

// Handles pending messages until more than `milliseconds` have passed; returns
// at once for 0 or less. A queued WM_QUIT is left where it is.
void PumpEventsFor(int32_t milliseconds, MessageSource& source);
