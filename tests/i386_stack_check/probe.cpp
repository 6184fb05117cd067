// Drives CallCheckingStack, as the 32-bit Windows build compiles it, with
// functions of both calling conventions; the exit code has one bit per check
// that held (63 when all six did).
#include <cstdint>

#include "platform/library.h"

extern "C" int32_t __stdcall Stdcall6(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e,
                                      int32_t f) {
  return a * 100000 + b * 10000 + c * 1000 + d * 100 + e * 10 + f;
}
extern "C" int32_t __cdecl Cdecl6(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e,
                                  int32_t f) {
  return -(a * 100000 + b * 10000 + c * 1000 + d * 100 + e * 10 + f);
}
extern "C" int32_t __stdcall Stdcall2(int32_t a, int32_t b) { return a - b; }

extern "C" int probe() {
  uintptr_t six[6] = {1, 2, 3, 4, 5, 6};
  uintptr_t two[2] = {50, 8};
  StackCheckedCall stdcall = CallCheckingStack(reinterpret_cast<const void*>(&Stdcall6), six);
  StackCheckedCall cdecl = CallCheckingStack(reinterpret_cast<const void*>(&Cdecl6), six);
  StackCheckedCall fewer = CallCheckingStack(reinterpret_cast<const void*>(&Stdcall2), two);
  // Removes 24 bytes where 8 were pushed: unbalanced the other way.
  StackCheckedCall tooMany = CallCheckingStack(reinterpret_cast<const void*>(&Stdcall6), two);
  int held = 0;
  if (stdcall.stackBalanced) held |= 1;
  // The digits tell that the first argument arrived first.
  if (stdcall.result == 123456) held |= 2;
  if (!cdecl.stackBalanced) held |= 4;
  if (static_cast<int32_t>(cdecl.result) == -123456) held |= 8;
  if (fewer.stackBalanced && fewer.result == 42) held |= 16;
  if (!tooMany.stackBalanced) held |= 32;
  return held;
}
