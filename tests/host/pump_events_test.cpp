#include "actions/pump_events.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "actions_fakes.h"

namespace {

using Message = FakeMessageSource::Message;

Message Other(const char* name) { return {PendingMessage::kOther, name, nullptr}; }
Message Quit() { return {PendingMessage::kQuit, "WM_QUIT", nullptr}; }

TEST(PumpEventsTest, ZeroOrNegativeCountsReturnWithoutTouchingTheQueue) {
  for (int32_t count : {0, -1, -100, std::numeric_limits<int32_t>::min()}) {
    EventLog log;
    FakeMessageSource source(log, 1000, 1);
    source.Queue(Other("paint"));

    PumpEventsFor(count, source);

    EXPECT_TRUE(log.empty()) << "count " << count;
    EXPECT_EQ(source.QueuedCount(), 1u) << "count " << count;
  }
}

TEST(PumpEventsTest, TwoPassesBeforeTheFirstLookAtTheClockAndFourBetweenLooks) {
  EventLog log;
  FakeMessageSource source(log, 5000, 1);

  PumpEventsFor(2, source);

  // Start and two passes (each a single peek on an empty queue); after every
  // look within the time, two passes and, going round, two more; until the
  // clock reads 3 ms after the start.
  const EventLog expected{"tick", "peek", "peek", "tick", "peek", "peek", "peek", "peek",
                          "tick", "peek", "peek", "peek", "peek", "tick"};
  EXPECT_EQ(log, expected);
}

struct EndCase {
  uint32_t start;
  uint32_t step;
  int32_t count;
  uint32_t lastElapsed;
};

TEST(PumpEventsTest, ReturnsAtTheFirstReadingPastTheCount) {
  const EndCase cases[] = {
      {1000, 1, 100, 101},
      {1000, 7, 100, 105},
      // A reading of exactly the count is not past it.
      {1000, 50, 100, 150},
      {0, 16, 1, 16},
      // The end lies beyond the wrap of the tick count, 49.7 days after boot.
      {0xFFFFFFF0u, 1, 100, 101},
      {0xFFFFFFC0u, 16, 100, 112},
      // The start itself is just before the wrap and the first reading after it.
      {0xFFFFFFFFu, 1, 100, 101},
  };
  for (const EndCase& c : cases) {
    EventLog log;
    FakeMessageSource source(log, c.start, c.step);

    PumpEventsFor(c.count, source);

    ASSERT_GE(source.readings.size(), 2u);
    EXPECT_EQ(source.readings.front(), c.start);
    EXPECT_EQ(source.readings.back() - c.start, c.lastElapsed) << "start " << c.start;
    // Every reading before the last one was within the count.
    const uint32_t beforeLast = source.readings[source.readings.size() - 2] - c.start;
    EXPECT_LE(beforeLast, static_cast<uint32_t>(c.count)) << "start " << c.start;
  }
}

TEST(PumpEventsTest, DispatchesWaitingAndArrivingMessagesBeforeTheNextClockReading) {
  EventLog log;
  FakeMessageSource source(log, 200, 10);
  source.Queue(Other("a"));
  source.Queue(Other("b"));
  source.ArriveAt(210, Other("c"));

  PumpEventsFor(15, source);

  const EventLog expected{
      "tick",                                                      // 200: start
      "peek", "dispatch a", "peek", "dispatch b", "peek", "peek",  // two passes
      "tick",                                                      // 210: c arrives
      "peek", "dispatch c", "peek", "peek",                        // two passes
      "peek", "peek",                                              // two more
      "tick",                                                      // 220: done
  };
  EXPECT_EQ(log, expected);
}

TEST(PumpEventsTest, LeavesAQueuedQuitInPlaceAndStillRunsTheFullTime) {
  EventLog log;
  FakeMessageSource source(log, 0, 10);
  source.Queue(Other("before"));
  source.Queue(Quit());
  source.Queue(Other("after"));

  PumpEventsFor(100, source);

  EXPECT_EQ(source.readings.back(), 110u);
  EXPECT_EQ(source.Front(), PendingMessage::kQuit);
  EXPECT_EQ(source.QueuedCount(), 2u);
  int dispatched = 0;
  int peeks = 0;
  for (const std::string& event : log) {
    if (event.rfind("dispatch", 0) == 0) ++dispatched;
    if (event == "peek") ++peeks;
  }
  EXPECT_EQ(dispatched, 1);
  // Each pass stops at the quit after one look: two passes after the start,
  // four after each of the 10 readings within the time, plus the look at
  // "before".
  EXPECT_EQ(peeks, 2 + 1 + 4 * 10);
}

TEST(PumpEventsTest, AMessageHandlerMayQueueMoreThatRunInTheSamePump) {
  EventLog log;
  FakeMessageSource source(log, 0, 100);
  source.Queue({PendingMessage::kOther, "outer", [&] { source.Queue(Other("inner")); }});

  PumpEventsFor(50, source);

  const EventLog expected{"tick",           "peek", "dispatch outer", "peek",
                          "dispatch inner", "peek", "peek",           "tick"};
  EXPECT_EQ(log, expected);
}

}  // namespace
