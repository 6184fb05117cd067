#include "schedule/wait.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <numeric>
#include <vector>

namespace {

std::vector<uint32_t> recordedSleeps;

void RecordSleep(uint32_t milliseconds) { recordedSleeps.push_back(milliseconds); }

struct StopWaiting {};

// Stands for a wait that would outlast any real run.
void RecordSleepThenStop(uint32_t milliseconds) {
  recordedSleeps.push_back(milliseconds);
  if (recordedSleeps.size() == 1000) {
    throw StopWaiting{};
  }
}

struct WaitCase {
  int64_t count;
  std::vector<uint32_t> sleeps;
};

TEST(WaitMillisecondsTest, SleepsTheWholeCountInPiecesSleepCanTake) {
  const WaitCase cases[] = {
      {0, {0}},
      {-5, {0}},
      {std::numeric_limits<int64_t>::min(), {0}},
      {1, {1}},
      {120000, {120000}},
      {0x7FFFFFFF, {0x7FFFFFFF}},
      {0x80000000, {0x7FFFFFFF, 1}},
      // 0xFFFFFFFF is INFINITE to Windows and must never reach Sleep.
      {0xFFFFFFFF, {0x7FFFFFFF, 0x7FFFFFFF, 1}},
      {2592000000, {0x7FFFFFFF, 444516353}},  // 30 days
  };
  for (const WaitCase& c : cases) {
    recordedSleeps.clear();
    WaitMilliseconds(c.count, RecordSleep);
    EXPECT_EQ(recordedSleeps, c.sleeps) << c.count;
  }
}

TEST(WaitMillisecondsTest, LongestCountKeepsSleepingInFullPieces) {
  recordedSleeps.clear();
  EXPECT_THROW(WaitMilliseconds(std::numeric_limits<int64_t>::max(), RecordSleepThenStop),
               StopWaiting);
  ASSERT_EQ(recordedSleeps.size(), 1000u);
  for (uint32_t sleep : recordedSleeps) {
    EXPECT_EQ(sleep, 0x7FFFFFFFu);
  }
}

}  // namespace
