#pragma once
// The blocking wait before an action.

#include <cstdint>

// Suspends the calling thread for the given number of milliseconds; the
// Windows build passes a wrapper around Sleep, tests a recording fake.
using SleepFunction = void (*)(uint32_t milliseconds);

// Sleeps the whole count, in pieces Sleep can take. A count of zero or less
// still calls sleep(0) once, which gives up the rest of the time slice just
// as a plain Sleep(0) would. INT64_MAX waits for ever in practice.
void WaitMilliseconds(int64_t count, SleepFunction sleep);
