#include "shell/run_directory.h"

std::string DirectoryOfPath(std::string_view path) {
  size_t lastBackslash = std::string_view::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(path[i]);
    if (byte >= 0x80) {
      ++i;  // the trail byte is never a separator
    } else if (byte == '\\') {
      lastBackslash = i;
    }
  }
  return lastBackslash == std::string_view::npos ? std::string() : std::string(path.substr(0, lastBackslash));
}
