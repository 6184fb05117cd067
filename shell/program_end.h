#pragma once
#include <cstdint>

// The orderly end: the windows go, the exit routines run, the outside
// libraries are unloaded and the process ends with the code.
[[noreturn]] void EndProgram(int32_t exitCode);
