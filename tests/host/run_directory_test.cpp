#include "shell/run_directory.h"

#include <gtest/gtest.h>

namespace {

struct DirectoryCase {
  const char* name;
  std::string path;
  std::string directory;
};

class DirectoryOfPathTest : public ::testing::TestWithParam<DirectoryCase> {};

TEST_P(DirectoryOfPathTest, CutsBeforeTheLastBackslash) {
  EXPECT_EQ(DirectoryOfPath(GetParam().path), GetParam().directory);
}

// "表" is B1 ED and "能" C4 DC; "\x95\x5C" is a GBK character whose trail
// byte is the backslash's.
INSTANTIATE_TEST_SUITE_P(
    Cases, DirectoryOfPathTest,
    ::testing::Values(
        DirectoryCase{"Plain", "C:\\Tools\\Tavrel.exe", "C:\\Tools"},
        DirectoryCase{"Root", "C:\\Tavrel.exe", "C:"},
        DirectoryCase{"NoBackslash", "Tavrel.exe", ""},
        DirectoryCase{"ChineseFolder", "D:\\\xB9\xA4\xBE\xDF\\Tavrel.exe", "D:\\\xB9\xA4\xBE\xDF"},
        DirectoryCase{"TrailByteIsNoSeparator", "D:\\\x95\x5C\\a.exe", "D:\\\x95\x5C"},
        DirectoryCase{"TrailByteAtTheEnd", "D:\\x\\\x95\x5C", "D:\\x"},
        DirectoryCase{"UncPath", "\\\\server\\share\\Tavrel.exe", "\\\\server\\share"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
