#pragma once
// The text of the one message box that a fatal error shows before the
// process ends.

#include <cstdint>
#include <string>
#include <string_view>

// code 0 means there is no code and an empty message means there is no
// message; either piece is then left out. `where` names the place the error
// arose and always gets its line. Line breaks are "\r\n", as a message box
// wants them.
std::string FatalErrorText(int32_t code, std::string_view message, std::string_view where);
