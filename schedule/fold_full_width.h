#pragma once
// Full-width forms that an input method puts into a number or date-time box,
// folded to the ASCII characters the readers understand.

#include <string>
#include <string_view>

// Goes through the text as GBK: ASCII bytes are copied, the ideographic
// space, "～", "☆", "★" and the full-width ASCII forms (A3 A1 to A3 FE)
// become their ASCII byte, every other two-byte character is copied as it is.
// A lead byte with nothing after it is dropped. The text ends at its first
// zero byte, as the zero-terminated text of a control would.
std::string FoldFullWidth(std::string_view text);
