#include "schedule/wait.h"

#include <algorithm>

namespace {

// The largest piece handed to Sleep. 0xFFFFFFFF would be INFINITE to
// Windows, so the pieces stay within the signed 32-bit range.
constexpr int64_t kLongestSleep = 0x7FFFFFFF;

}  // namespace

void WaitMilliseconds(int64_t count, SleepFunction sleep) {
  if (count <= 0) {
    sleep(0);
    return;
  }
  while (count > 0) {
    const int64_t piece = std::min(count, kLongestSleep);
    sleep(static_cast<uint32_t>(piece));
    count -= piece;
  }
}
