#pragma once
// Reading the countdown box: a text becomes seconds, seconds become the
// millisecond count of the wait.

#include <cstdint>
#include <string_view>

// The number at the start of the text, after folding full-width forms and
// skipping white space: sign, digits with at most one '.', an optional
// exponent after e, E, d or D. Whatever follows is ignored; a text without a
// number gives 0.0. No hexadecimal, infinity or NaN forms. The decimal point
// is '.' whatever the regional settings. A value beyond the range of a double
// gives an infinity of its sign, one too small to show gives a zero.
double TextToNumber(std::string_view text);

// Seconds times 1000.0 in double precision, truncated toward zero. Products
// at or beyond the 64-bit range give INT64_MAX or INT64_MIN; NaN gives 0.
int64_t SecondsToMilliseconds(double seconds);
