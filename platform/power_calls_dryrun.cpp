#include <windows.h>

#include <string>

#include "platform/power_calls.h"

namespace {

// The executable's folder, without the trailing backslash. A GBK trail byte
// can be 0x5C, so the last separator is found character by character.
std::string ExecutableDirectory() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::size_t lastBackslash = std::string::npos;
  for (DWORD i = 0; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (byte == '\\') lastBackslash = i;
    if (byte >= 0x80) ++i;
  }
  if (lastBackslash == std::string::npos) return {};
  return std::string(path, lastBackslash);
}

// Opened, written and closed for each request: once WriteFile returns, the line
// is in the system's file cache, where a reader sees it even when it ends this
// process straight after. Flushing it to the disk as well would only add the
// disk's time to every recorded request, which the real call does not have.
void AppendRequestLine(const std::string& line) {
  const std::string directory = ExecutableDirectory();
  if (directory.empty()) return;
  const std::string logPath = directory + "\\power-requests.log";
  HANDLE file = CreateFileA(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  SetFilePointer(file, 0, nullptr, FILE_END);
  const std::string record = line + "\n";
  DWORD written = 0;
  WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

bool CallExitWindowsEx(uint32_t flags, uint32_t /*reason*/) {
  AppendRequestLine("ExitWindowsEx flags=" + std::to_string(flags));
  return true;
}

bool CallSetSystemPowerState(bool suspend, bool force) {
  AppendRequestLine(std::string("SetSystemPowerState suspend=") + (suspend ? "1" : "0") +
                    " force=" + (force ? "1" : "0"));
  return true;
}
