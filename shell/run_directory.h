#pragma once
#include <string>
#include <string_view>

// The directory part of a full path, without the trailing backslash: the path
// cut before its last backslash. The path is walked a character at a time,
// because the trail byte of a GBK character can be 0x5C.
std::string DirectoryOfPath(std::string_view path);
