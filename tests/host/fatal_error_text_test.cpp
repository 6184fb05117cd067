#include "shell/fatal_error_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace {

struct FatalErrorCase {
  const char* name;
  int32_t code;
  std::string_view message;
  std::string_view where;
  std::string_view expected;
};

void PrintTo(const FatalErrorCase& c, std::ostream* os) { *os << c.name; }

// The expected texts are spelt out whole, so a missing or doubled line break
// shows as a difference.
const FatalErrorCase kFatalErrorCases[] = {
    {"NoCodeNoMessage", 0, "", "启动",
     "运行时出错!\r\n"
     "\r\n出错位置：启动"},
    {"CodeOnly", 5, "", "启动",
     "运行时出错!\r\n"
     "\r\n错误代码：5\r\n"
     "\r\n出错位置：启动"},
    {"MessageOnly", 0, "载入启动窗口失败", "启动",
     "运行时出错!\r\n"
     "\r\n错误信息：载入启动窗口失败\r\n"
     "\r\n出错位置：启动"},
    {"CodeAndMessage", 1234, "分配 40 字节内存失败!", "内存",
     "运行时出错!\r\n"
     "\r\n错误代码：1234\r\n"
     "\r\n错误信息：分配 40 字节内存失败!\r\n"
     "\r\n出错位置：内存"},
    {"NegativeCode", -1, "", "皮肤",
     "运行时出错!\r\n"
     "\r\n错误代码：-1\r\n"
     "\r\n出错位置：皮肤"},
    {"MostNegativeCode", INT32_MIN, "x", "",
     "运行时出错!\r\n"
     "\r\n错误代码：-2147483648\r\n"
     "\r\n错误信息：x\r\n"
     "\r\n出错位置："},
    {"LargestCode", INT32_MAX, "", "w",
     "运行时出错!\r\n"
     "\r\n错误代码：2147483647\r\n"
     "\r\n出错位置：w"},
};

class FatalErrorTextTest : public ::testing::TestWithParam<FatalErrorCase> {};

TEST_P(FatalErrorTextTest, BuildsTheTextFromItsPieces) {
  const FatalErrorCase& c = GetParam();
  EXPECT_EQ(FatalErrorText(c.code, c.message, c.where), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FatalErrorTextTest, ::testing::ValuesIn(kFatalErrorCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FatalErrorTextBytes, TheTextsAreGbk) {
  // "运行时出错!" in GBK, and the full-width colon of the labels (A3 BA).
  const std::string text = FatalErrorText(7, "m", "w");
  EXPECT_EQ(text.substr(0, 11), "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!");
  EXPECT_NE(text.find("\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA"
                      "7"),
            std::string::npos);
}

TEST(FatalErrorTextBytes, AMessageIsCopiedByteForByte) {
  // A message with a zero byte or a lone "\r" must come through unchanged.
  const std::string message("a\0b\rc", 5);
  const std::string text = FatalErrorText(0, message, "w");
  EXPECT_NE(text.find("\xA3\xBA" + message + "\r\n"), std::string::npos);
}

}  // namespace
