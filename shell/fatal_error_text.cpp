#include "shell/fatal_error_text.h"

#include <string>

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kHeading = "运行时出错!";
constexpr std::string_view kCodeLabel = "错误代码：";
constexpr std::string_view kMessageLabel = "错误信息：";
constexpr std::string_view kWhereLabel = "出错位置：";

// Every piece after the heading starts with a line break of its own, so the
// pieces stand apart with an empty line between them.
void AppendPiece(std::string_view label, std::string_view value, std::string& text) {
  text += kLineBreak;
  text += label;
  text += value;
}

}  // namespace

std::string FatalErrorText(int32_t code, std::string_view message, std::string_view where) {
  std::string text{kHeading};
  text += kLineBreak;
  if (code != 0) {
    AppendPiece(kCodeLabel, std::to_string(code), text);
    text += kLineBreak;
  }
  if (!message.empty()) {
    AppendPiece(kMessageLabel, message, text);
    text += kLineBreak;
  }
  AppendPiece(kWhereLabel, where, text);
  return text;
}
