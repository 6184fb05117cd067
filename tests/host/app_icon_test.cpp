// The application icon as tools/make_icon.py writes it, read back through the
// program's own icon reader. TAVREL_APP_ICON names an icon file to check
// instead (the one the build embeds); without it the test runs the script.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "window/ico_image.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the generator into `out`; true when it exited with 0.
bool RunMakeIcon(const fs::path& out) {
  const fs::path script = fs::path(__FILE__).parent_path() / ".." / ".." / "tools" / "make_icon.py";
  if (!fs::exists(script)) {
    ADD_FAILURE() << "no generator at " << script;
    return false;
  }
  const std::string command = "python3 '" + script.string() + "' '" + out.string() + "'";
  return std::system(command.c_str()) == 0;
}

class AppIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* given = std::getenv("TAVREL_APP_ICON"); given != nullptr && *given != '\0') {
      ico_ = ReadFileBytes(given);
      return;
    }
    // ctest runs the cases in parallel processes: each needs a file of its own.
    const fs::path out =
        fs::path(::testing::TempDir()) / ("tavrel_app_icon_" + std::to_string(getpid()) + ".ico");
    ASSERT_TRUE(RunMakeIcon(out));
    ico_ = ReadFileBytes(out);
    fs::remove(out);
  }

  uint32_t U32At(size_t at) const {
    return ico_[at] | ico_[at + 1] << 8 | ico_[at + 2] << 16 |
           static_cast<uint32_t>(ico_[at + 3]) << 24;
  }

  std::vector<uint8_t> ico_;
};

constexpr size_t kFirstImageOffset = 6 + 2 * 16;
constexpr size_t kFirstImageSize = 40 + 1024 + 1024 + 128;
constexpr size_t kSecondImageOffset = kFirstImageOffset + kFirstImageSize;
constexpr size_t kSecondImageSize = 40 + 48 * 48 * 4 + 48 * 8;

TEST_F(AppIconTest, HasTheSizeAndDirectoryOfTheApplicationIcon) {
  ASSERT_EQ(ico_.size(), 11894u);
  const std::optional<IcoDirectory> directory = ReadIcoDirectory(ico_);
  ASSERT_TRUE(directory.has_value());
  EXPECT_EQ(directory->type, kIcoTypeIcon);
  ASSERT_EQ(directory->entries.size(), 2u);

  const IcoDirectoryEntry& small = directory->entries[0];
  EXPECT_EQ(small.width, 32);
  EXPECT_EQ(small.height, 32);
  EXPECT_EQ(small.colorCount, 0);  // 256 colours
  EXPECT_EQ(small.planes, 1);
  EXPECT_EQ(small.bitCount, 8);
  EXPECT_EQ(small.offset, kFirstImageOffset);
  EXPECT_EQ(small.size, kFirstImageSize);

  const IcoDirectoryEntry& large = directory->entries[1];
  EXPECT_EQ(large.width, 48);
  EXPECT_EQ(large.height, 48);
  EXPECT_EQ(large.colorCount, 0);
  EXPECT_EQ(large.planes, 1);
  EXPECT_EQ(large.bitCount, 32);
  EXPECT_EQ(large.offset, kSecondImageOffset);
  EXPECT_EQ(large.size, kSecondImageSize);
  EXPECT_EQ(large.offset + large.size, ico_.size());
}

TEST_F(AppIconTest, TheTrayTakesThe48x48ImageBothTimes) {
  for (int width : {kTrayIconWidth, kTrayIconRetryWidth}) {
    const std::optional<IcoImage> image = ChooseIcoImage(ico_, width);
    ASSERT_TRUE(image.has_value()) << width;
    EXPECT_EQ(image->offset, kSecondImageOffset);
    EXPECT_EQ(image->size, kSecondImageSize);
    EXPECT_EQ(image->width, 48);
    EXPECT_EQ(image->height, 48);
    EXPECT_EQ(image->bitCount, 32);
  }
}

TEST_F(AppIconTest, TheBitmapHeadersCountTheMaskRows) {
  ASSERT_EQ(ico_.size(), 11894u);
  EXPECT_EQ(U32At(kFirstImageOffset), 40u);
  EXPECT_EQ(U32At(kFirstImageOffset + 4), 32u);
  EXPECT_EQ(U32At(kFirstImageOffset + 8), 64u);
  EXPECT_EQ(U32At(kSecondImageOffset), 40u);
  EXPECT_EQ(U32At(kSecondImageOffset + 4), 48u);
  EXPECT_EQ(U32At(kSecondImageOffset + 8), 96u);
}

TEST_F(AppIconTest, TheMaskAgreesWithTheAlphaOfTheLargeImage) {
  ASSERT_EQ(ico_.size(), 11894u);
  const size_t pixels = kSecondImageOffset + 40;
  const size_t mask = pixels + 48 * 48 * 4;
  int transparent = 0;
  int opaque = 0;
  for (size_t row = 0; row < 48; ++row) {
    for (size_t x = 0; x < 48; ++x) {
      const uint8_t alpha = ico_[pixels + (row * 48 + x) * 4 + 3];
      const bool masked = (ico_[mask + row * 8 + x / 8] >> (7 - x % 8)) & 1;
      EXPECT_EQ(masked, alpha == 0) << "row " << row << " x " << x;
      transparent += alpha == 0;
      opaque += alpha == 255;
    }
    // The padding bytes of each mask row stay clear.
    EXPECT_EQ(ico_[mask + row * 8 + 6], 0) << "row " << row;
    EXPECT_EQ(ico_[mask + row * 8 + 7], 0) << "row " << row;
  }
  // A picture, not an empty or a full square: the corners are clear and the
  // middle is covered.
  EXPECT_GT(transparent, 100);
  EXPECT_GT(opaque, 1000);
}

TEST_F(AppIconTest, TheSmallImageMasksExactlyThePixelsOfIndexZero) {
  ASSERT_EQ(ico_.size(), 11894u);
  const size_t palette = kFirstImageOffset + 40;
  const size_t pixels = palette + 1024;
  const size_t mask = pixels + 1024;
  // Index 0 is black, so a masked pixel leaves the screen as it is.
  EXPECT_EQ(U32At(palette), 0u);
  int masked = 0;
  for (size_t row = 0; row < 32; ++row) {
    for (size_t x = 0; x < 32; ++x) {
      const bool isMasked = (ico_[mask + row * 4 + x / 8] >> (7 - x % 8)) & 1;
      EXPECT_EQ(isMasked, ico_[pixels + row * 32 + x] == 0) << "row " << row << " x " << x;
      masked += isMasked;
    }
  }
  EXPECT_GT(masked, 50);
  EXPECT_LT(masked, 32 * 32 / 2);
}

}  // namespace

namespace {

TEST(MakeIcon, WritesTheSameBytesEveryTime) {
  const fs::path first = fs::path(::testing::TempDir()) / "tavrel_make_icon_first.ico";
  const fs::path second = fs::path(::testing::TempDir()) / "tavrel_make_icon_second.ico";
  ASSERT_TRUE(RunMakeIcon(first));
  ASSERT_TRUE(RunMakeIcon(second));
  const std::vector<uint8_t> firstBytes = ReadFileBytes(first);
  EXPECT_EQ(firstBytes.size(), 11894u);
  EXPECT_EQ(firstBytes, ReadFileBytes(second));
  fs::remove(first);
  fs::remove(second);
}

TEST(MakeIcon, RefusesAMissingOutputPath) {
  const fs::path script = fs::path(__FILE__).parent_path() / ".." / ".." / "tools" / "make_icon.py";
  const std::string command = "python3 '" + script.string() + "' 2>/dev/null";
  EXPECT_NE(std::system(command.c_str()), 0);
}

}  // namespace
