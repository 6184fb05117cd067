#pragma once
// Putting a text on the clipboard.

#include <string_view>

// Replaces the clipboard's content with the text as CF_TEXT (ANSI, ending at
// its first zero byte). False when the clipboard could not be opened, when
// memory could not be had (the clipboard is then left empty) or when the
// clipboard refused the text.
bool PutTextOnClipboard(std::string_view text);
