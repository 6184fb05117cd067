#pragma once
// The built-in flat XP look that the program's controls take when no skin is
// attached.

#include <cstdint>

// Scheme 1, 2 or 3 (re)applies the look to every window of the thread, now and
// later; any other number removes it and returns whether the hook could be
// removed (false when none was set).
bool ApplyXpLook(int scheme);

// Whether the look is applied now, and in which scheme.
bool XpLookApplied();
int32_t CurrentXpScheme();
