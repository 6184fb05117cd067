#include "platform/files.h"

#include <windows.h>

#include <cstdint>

#include "platform/library.h"

bool FileExists(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::vector<uint8_t> bytes;
  LARGE_INTEGER size;
  // A byte array counts its bytes in a signed 32-bit integer: larger files
  // cannot be held.
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= INT32_MAX) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
      bytes.resize(read);
    } else {
      bytes.clear();
    }
  }
  CloseHandle(file);
  return bytes;
}

bool GetSystemDirectoryCheckingStack(char* buffer, uint32_t size) {
  const uintptr_t arguments[] = {reinterpret_cast<uintptr_t>(buffer), size};
  return CallCheckingStack(reinterpret_cast<const void*>(&GetSystemDirectoryA), arguments)
      .stackBalanced;
}
