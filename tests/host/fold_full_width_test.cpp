#include "schedule/fold_full_width.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FoldCase {
  std::string text;
  std::string folded;
};

TEST(FoldFullWidthTest, FoldsTheListedCharactersAndKeepsTheRest) {
  const FoldCase cases[] = {
      {"", ""},
      {"abc 120", "abc 120"},
      {"１２０", "120"},
      {"　１．５", " 1.5"},
      {"～☆★", "~**"},
      // The ends of row A3: "！" and "￣", and "￥" in between.
      {"\xA3\xA1\xA3\xFE\xA3\xA4", "!~$"},
      {"＋－Ｅｅ", "+-Ee"},
      // Other two-byte characters stay, also the neighbours of the folded ones.
      {"关机", "\xB9\xD8\xBB\xFA"},
      {"\xA1\xA2\xA1\xAC\xA3\xA0", "\xA1\xA2\xA1\xAC\xA3\xA0"},
      // A trail byte in the ASCII range belongs to its character, not read alone.
      {"\x81"
       "1\xA3\xB1",
       "\x81"
       "11"},
      // A lone lead byte at the end is dropped.
      {"12\xB9", "12"},
      {"\xB9", ""},
      {"１\xA3", "1"},
  };
  for (const FoldCase& c : cases) {
    EXPECT_EQ(FoldFullWidth(c.text), c.folded) << c.text;
  }
}

TEST(FoldFullWidthTest, TextEndsAtItsFirstZeroByte) {
  EXPECT_EQ(FoldFullWidth(std::string("１\0２", 5)), "1");
  // A lead byte before the zero has no partner and goes too.
  EXPECT_EQ(FoldFullWidth(std::string("7\xB9\0x", 4)), "7");
}

}  // namespace
