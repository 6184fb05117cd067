#include "skin/skin_format.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string kWellFormed =
    "# comment\n"
    "tavrel-skin 1\n"
    "window = 1 2 3\n"
    "text = 4 5 6\n"
    "face = 7 8 9\n"
    "facetext = 10 11 12\n"
    "frame = 13 14 15\n"
    "field = 16 17 18\n"
    "fieldtext = 255 0 254\n";

TEST(ParseSkin, ReadsEveryColour) {
  std::optional<SkinColours> colours = ParseSkin(kWellFormed);
  ASSERT_TRUE(colours.has_value());
  EXPECT_EQ(colours->window, (SkinRgb{1, 2, 3}));
  EXPECT_EQ(colours->text, (SkinRgb{4, 5, 6}));
  EXPECT_EQ(colours->face, (SkinRgb{7, 8, 9}));
  EXPECT_EQ(colours->faceText, (SkinRgb{10, 11, 12}));
  EXPECT_EQ(colours->frame, (SkinRgb{13, 14, 15}));
  EXPECT_EQ(colours->field, (SkinRgb{16, 17, 18}));
  EXPECT_EQ(colours->fieldText, (SkinRgb{255, 0, 254}));
}

TEST(ParseSkin, AcceptsWindowsLineEndsTabsAndAnyKeyOrder) {
  std::string text =
      "\r\n  tavrel-skin 1 \r\n"
      "fieldtext\t=\t255 0 254\r\n"
      "field=16 17 18\r\n"
      "# between\r\n"
      "frame = 13  14\t15\r\n"
      "facetext = 10 11 12\r\n"
      "face = 7 8 9\r\n"
      "text = 4 5 6\r\n"
      "window = 1 2 3";
  EXPECT_EQ(ParseSkin(text), ParseSkin(kWellFormed));
}

std::string Replaced(const std::string& from, const std::string& to) {
  std::string text = kWellFormed;
  std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

TEST(ParseSkin, RefusesMalformedData) {
  struct Case {
    const char* name;
    std::string data;
  } cases[] = {
      {"empty", ""},
      {"only comments and blanks", "# x\n\n  \n"},
      {"header only", "tavrel-skin 1\n"},
      {"no header", kWellFormed.substr(kWellFormed.find("window"))},
      {"other version", Replaced("tavrel-skin 1", "tavrel-skin 2")},
      {"missing key", Replaced("frame = 13 14 15\n", "")},
      {"repeated key", kWellFormed + "face = 1 1 1\n"},
      {"unknown key", Replaced("face =", "fase =")},
      {"key in other case", Replaced("window", "Window")},
      {"no equals sign", Replaced("text = 4 5 6", "text 4 5 6")},
      {"two numbers", Replaced("4 5 6", "4 5")},
      {"four numbers", Replaced("4 5 6", "4 5 6 7")},
      {"above 255", Replaced("4 5 6", "4 256 6")},
      {"negative", Replaced("4 5 6", "4 -5 6")},
      {"sign", Replaced("4 5 6", "+4 5 6")},
      {"hex", Replaced("4 5 6", "0x4 5 6")},
      {"glued letters", Replaced("4 5 6", "4 5 6x")},
      {"comma", Replaced("4 5 6", "4,5,6")},
      {"empty value", Replaced("4 5 6", "")},
      {"zero byte", Replaced("4 5 6", std::string("4 5\0 6", 6))},
      {"huge number", Replaced("4 5 6", "4 99999999999999999999 6")},
  };
  for (const Case& c : cases) EXPECT_FALSE(ParseSkin(c.data).has_value()) << c.name;
}

TEST(ParseSkin, TheShippedSampleIsWellFormed) {
  // The build names this file by its full path: the tree's root is two
  // folders up.
  std::string here = __FILE__;
  std::string root = here.substr(0, here.rfind("/tests/host/"));
  std::ifstream file(root + "/skin/pmw.she", std::ios::binary);
  ASSERT_TRUE(file.good()) << root;
  std::stringstream content;
  content << file.rdbuf();
  std::optional<SkinColours> colours = ParseSkin(content.str());
  ASSERT_TRUE(colours.has_value());
  // Not the system's grey window.
  EXPECT_NE(colours->window, (SkinRgb{240, 240, 240}));
  EXPECT_NE(colours->window, (SkinRgb{212, 208, 200}));
}

}  // namespace
