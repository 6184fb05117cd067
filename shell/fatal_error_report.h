#pragma once
// The steps of a fatal error, over the two that need the system, so their
// order can be checked on the build machine.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct FatalErrorEnd {
  // Shows the text in the message box captioned "错误" and returns once it
  // has been closed.
  std::function<void(const std::string& text)> showMessage;
  // The orderly end; does not return in the program.
  std::function<void(int32_t exitCode)> endProgram;
};

// Where the text of every fatal error says the error arose.
inline constexpr std::string_view kFatalErrorPlace = "Tavrel 主程序";

// Shows the error, empties the exit routine list without running it, and ends
// with exit code -1, so that no exit routine runs on the way out.
void ReportFatalErrorWith(int32_t code, std::string_view message, const FatalErrorEnd& end);
