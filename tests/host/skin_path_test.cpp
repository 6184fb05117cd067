#include "shell/skin_path.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

struct TrimCase {
  const char* name;
  std::string text;
  std::string trimmed;
};

void PrintTo(const TrimCase& c, std::ostream* out) { *out << c.name; }

class TrimBlanksTest : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimBlanksTest, RemovesBlanksAtBothEnds) {
  EXPECT_EQ(TrimBlanks(GetParam().text), GetParam().trimmed);
}

// B0 A1 is the character 啊: its trail byte A1 followed by A1 must not be read
// as an ideographic space, nor may a trail byte 0x20 be read as a space.
INSTANTIATE_TEST_SUITE_P(
    Cases, TrimBlanksTest,
    testing::Values(TrimCase{"Empty", "", ""}, TrimCase{"OnlySpaces", "   ", ""},
                    TrimCase{"AsciiBothEnds", "  C:\\a b\\x.dll  ", "C:\\a b\\x.dll"},
                    TrimCase{"InnerBlanksKept", "a \xA1\xA1 b", "a \xA1\xA1 b"},
                    TrimCase{"IdeographicBothEnds", "\xA1\xA1x\xA1\xA1", "x"},
                    TrimCase{"MixedBlanks", " \xA1\xA1 \xA1\xA1x \xA1\xA1", "x"},
                    TrimCase{"OnlyIdeographic", "\xA1\xA1\xA1\xA1", ""},
                    TrimCase{"TrailByteA1NotBlank", "\xB0\xA1\xA1\xA1", "\xB0\xA1"},
                    TrimCase{"TrailA1ThenLoneLead", "\xB0\xA1\xA1", "\xB0\xA1"},
                    TrimCase{"TrailByteSpaceNotBlank", "a\x81 ", "a\x81 "},
                    TrimCase{"LeadingTrailByteSpaceNotBlank", "\x81  x", "\x81  x"},
                    TrimCase{"LoneLeadDropped", "ab\xC4", "ab"},
                    TrimCase{"LoneLeadAfterBlankDropped", "ab \xC4", "ab"},
                    TrimCase{"OnlyLoneLead", "\xC4", ""},
                    TrimCase{"ByteA1ThenSpaceIsOneCharacter", "\xA1 x", "\xA1 x"},
                    TrimCase{"DoubleByteAtEnd", " \xB9\xD8\xBB\xFA ", "\xB9\xD8\xBB\xFA"}),
    [](const testing::TestParamInfo<TrimCase>& info) { return info.param.name; });

TEST(SystemDirectoryTextWithSlash, CutsAtZeroAndEndsInOneBackslash) {
  struct Case {
    std::string buffer;
    std::string text;
  } cases[] = {
      {std::string("C:\\WINDOWS\\system32\0   ", 23), "C:\\WINDOWS\\system32\\"},
      {std::string("C:\\\0        ", 12), "C:\\"},
      {std::string("\0    ", 5), "\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(SystemDirectoryTextWithSlash(c.buffer), c.text);
}

TEST(SystemDirectoryTextWithSlash, UntouchedBufferGivesSpacesAndBackslash) {
  std::string untouched(kSystemDirectoryBufferSize, ' ');
  EXPECT_EQ(SystemDirectoryTextWithSlash(untouched),
            std::string(kSystemDirectoryBufferSize, ' ') + "\\");
}

class FakeFiles {
 public:
  FakeFiles(std::set<std::string> existing, std::string systemDirectory)
      : existing_(std::move(existing)), systemDirectory_(std::move(systemDirectory)) {}

  SkinPathQueries Queries() {
    return {[this](const std::string& path) {
              asked.push_back(path);
              return existing_.count(path) > 0;
            },
            [this] {
              ++systemDirectoryCalls;
              return systemDirectory_;
            }};
  }

  std::vector<std::string> asked;
  int systemDirectoryCalls = 0;

 private:
  std::set<std::string> existing_;
  std::string systemDirectory_;
};

constexpr const char* kRun = "D:\\Tools";
constexpr const char* kSystem = "C:\\WINDOWS\\system32\\";
const std::string kBeside = "D:\\Tools\\SkinH_EL.dll";
const std::string kInSystem = "C:\\WINDOWS\\system32\\SkinH_EL.dll";

TEST(ResolvedSkinLibraryPath, ChoosesAmongTheThreePlaces) {
  struct Case {
    const char* name;
    std::string given;
    std::set<std::string> existing;
    std::string resolved;
  } cases[] = {
      {"nothing anywhere keeps empty", "", {}, ""},
      {"beside only", "", {kBeside}, kBeside},
      {"system only", "", {kInSystem}, kInSystem},
      {"system wins over beside", "", {kBeside, kInSystem}, kInSystem},
      {"existing given path stops the search",
       "  E:\\s.dll \xA1\xA1",
       {"E:\\s.dll", kInSystem},
       "E:\\s.dll"},
      {"missing given path is kept trimmed", " E:\\none.dll ", {}, "E:\\none.dll"},
      {"missing given path loses to a found library", "E:\\none.dll", {kBeside}, kBeside},
      {"given path beside itself", " D:\\Tools\\SkinH_EL.dll ", {kBeside, kInSystem}, kBeside},
  };
  for (const Case& c : cases) {
    FakeFiles files(c.existing, kSystem);
    EXPECT_EQ(ResolvedSkinLibraryPath(c.given, kRun, files.Queries()), c.resolved) << c.name;
  }
}

TEST(ResolvedSkinLibraryPath, AsksForTheSystemDirectoryOnlyWhenTheGivenPathIsMissing) {
  FakeFiles found({"E:\\s.dll"}, kSystem);
  ResolvedSkinLibraryPath("E:\\s.dll", kRun, found.Queries());
  EXPECT_EQ(found.systemDirectoryCalls, 0);
  EXPECT_EQ(found.asked, std::vector<std::string>{"E:\\s.dll"});

  FakeFiles missing({}, kSystem);
  ResolvedSkinLibraryPath("", kRun, missing.Queries());
  EXPECT_EQ(missing.systemDirectoryCalls, 1);
  EXPECT_EQ(missing.asked, (std::vector<std::string>{"", kBeside, kInSystem}));
}

TEST(ResolvedSkinLibraryPath, FailedSystemDirectoryNamesNoFile) {
  // The untouched buffer of a failed call: 255 spaces and the backslash.
  std::string failed = std::string(kSystemDirectoryBufferSize, ' ') + "\\";
  FakeFiles files({kBeside}, failed);
  EXPECT_EQ(ResolvedSkinLibraryPath("", kRun, files.Queries()), kBeside);
  EXPECT_EQ(files.asked.back(), failed + "SkinH_EL.dll");
}

}  // namespace
