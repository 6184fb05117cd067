#include "platform/process.h"

#include <windows.h>

#include <vector>

namespace {

// 68 bytes: the STARTUPINFOA of 32-bit Windows (the 64-bit test build has
// wider handles and pointers in it).
constexpr DWORD kStartupInfoSize = sizeof(STARTUPINFOA);
#if defined(__i386__)
static_assert(kStartupInfoSize == 68);
#endif

// How long a started program may take to become ready for input, in ms.
constexpr DWORD kInputIdleTimeout = 1000;

}  // namespace

bool StartProgram(const std::string& commandLine, bool wait) {
  STARTUPINFOA startup{};
  startup.cb = kStartupInfoSize;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  // CreateProcessA may write into the command line, so it gets a copy; an
  // empty line stays an empty text, which CreateProcessA refuses.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  if (wait) {
    WaitForSingleObject(process.hProcess, INFINITE);
  } else {
    // A console program has no message queue and releases this at once.
    WaitForInputIdle(process.hProcess, kInputIdleTimeout);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

std::string ReadSystemDirectory() {
  char directory[MAX_PATH + 1] = {};
  const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::string(directory, length);
}
