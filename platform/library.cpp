#include "platform/library.h"

#include <windows.h>

#include <string>

namespace {

class SystemLoader : public LibraryLoader {
 public:
  std::string FullPath(const std::string& path) override {
    char full[MAX_PATH] = {};
    DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    // 0 is a failure; a length of the buffer or more is the size it would
    // need, and the buffer was left unwritten.
    if (length == 0 || length >= sizeof full) return {};
    return std::string(full, length);
  }

  ModuleHandle Load(const std::string& fullPath) override {
    if (fullPath.empty()) return nullptr;
    return LoadLibraryA(fullPath.c_str());
  }

  ExportAddress FindByName(ModuleHandle module, const std::string& name) override {
    return reinterpret_cast<ExportAddress>(
        GetProcAddress(static_cast<HMODULE>(module), name.c_str()));
  }

  ExportAddress FindByOrdinal(ModuleHandle module, uint16_t ordinal) override {
    // Ordinal 0 would be a null name pointer: no export has it.
    if (ordinal == 0) return nullptr;
    return reinterpret_cast<ExportAddress>(
        GetProcAddress(static_cast<HMODULE>(module), MAKEINTRESOURCEA(ordinal)));
  }

  void Unload(ModuleHandle module) override { FreeLibrary(static_cast<HMODULE>(module)); }
};

}  // namespace

LibraryLoader& SystemLibraryLoader() {
  static SystemLoader loader;
  return loader;
}

#if defined(__i386__)
StackCheckedCall CallCheckingStack(const void* function, std::span<const uintptr_t> arguments) {
  // Declaring the pointer with the right convention would hide the fault, so
  // the call is made by hand: ESP is kept in ESI (which every convention
  // preserves), the arguments are pushed last first, the call goes through a
  // register, and ESP afterwards tells how many bytes the callee left behind.
  // No operand refers to memory relative to ESP, which moves inside.
  uint32_t value = reinterpret_cast<uintptr_t>(function);
  uint32_t leftBehind;
  uint32_t count = arguments.size();
  const uint32_t* first = arguments.data();
  asm volatile(
      "movl %%esp, %%esi\n\t"
      "testl %%ecx, %%ecx\n\t"
      "jz 2f\n"
      "1:\n\t"
      "pushl -4(%%edx,%%ecx,4)\n\t"
      "decl %%ecx\n\t"
      "jnz 1b\n"
      "2:\n\t"
      "call *%%eax\n\t"
      "subl %%esp, %%esi\n\t"
      "addl %%esi, %%esp\n\t"
      : "+a"(value), "=S"(leftBehind), "+c"(count), "+d"(first)
      :
      : "memory", "cc");
  return {value, leftBehind == 0};
}
#else
StackCheckedCall CallCheckingStack(const void* function, std::span<const uintptr_t> arguments) {
  using SixWords = uintptr_t (*)(uintptr_t, uintptr_t, uintptr_t, uintptr_t, uintptr_t, uintptr_t);
  uintptr_t words[6] = {};
  for (size_t at = 0; at < arguments.size() && at < 6; ++at) words[at] = arguments[at];
  // Extra arguments in registers are ignored by a callee that takes fewer.
  const auto call = reinterpret_cast<SixWords>(function);
  const uintptr_t result = call(words[0], words[1], words[2], words[3], words[4], words[5]);
  return {static_cast<uint32_t>(result), true};
}
#endif
