// Memory that cannot be had is a fatal error with the number of bytes asked
// for; the standard library would throw instead, and nothing here catches.
#include <cstdio>
#include <cstdlib>
#include <new>

#include "shell/fatal_error.h"

namespace {

[[noreturn]] void ReportOutOfMemory(std::size_t size) {
  char message[64];
  std::snprintf(message, sizeof message, "分配 %d 字节内存失败!", static_cast<int>(size));
  ReportFatalError(0, message);
}

void* Allocate(std::size_t size) {
  if (size == 0) size = 1;
  void* memory = std::malloc(size);
  if (!memory) ReportOutOfMemory(size);
  return memory;
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
