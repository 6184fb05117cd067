#pragma once
// Outside libraries: loading them by full path, and calling their functions
// with a check that the callee cleaned up the stack.

#include <cstdint>
#include <span>

#include "shell/outside_library.h"

// GetFullPathNameA, LoadLibraryA, GetProcAddress and FreeLibrary.
LibraryLoader& SystemLibraryLoader();

struct StackCheckedCall {
  uint32_t result;
  // False when the function did not remove exactly its arguments from the
  // stack, as a function of the C calling convention does not.
  bool stackBalanced;
};

// Calls the function with up to six word-sized arguments, the first argument
// pushed last, as the Windows API calling convention expects. On 64-bit
// Windows there is only one calling convention, so the stack is always
// balanced there.
StackCheckedCall CallCheckingStack(const void* function, std::span<const uintptr_t> arguments);
