#include "window/ico_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

namespace {

// Builds an icon file in memory: the directory, then each image's data right
// after it, in directory order. Only the fields the reader looks at carry
// meaning; the pixel bytes are filler.
struct FixtureImage {
  uint8_t width;  // as stored: 0 is 256
  uint8_t colorCount;
  uint16_t bitCount;
  int32_t headerWidth;
  int32_t headerHeight;  // colour rows plus mask rows
  uint32_t dataSize = 64;
};

void PutU16(std::vector<uint8_t>& out, size_t at, uint16_t value) {
  out[at] = static_cast<uint8_t>(value);
  out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<uint8_t> BuildIco(const std::vector<FixtureImage>& images, uint16_t type = 1) {
  const size_t directorySize = 6 + 16 * images.size();
  size_t total = directorySize;
  for (const FixtureImage& image : images) total += image.dataSize;
  std::vector<uint8_t> out(total, 0);
  PutU16(out, 2, type);
  PutU16(out, 4, static_cast<uint16_t>(images.size()));
  size_t dataAt = directorySize;
  for (size_t i = 0; i < images.size(); ++i) {
    const FixtureImage& image = images[i];
    const size_t at = 6 + 16 * i;
    out[at] = image.width;
    out[at + 1] = image.width;
    out[at + 2] = image.colorCount;
    PutU16(out, at + 4, 1);
    PutU16(out, at + 6, image.bitCount);
    PutU32(out, at + 8, image.dataSize);
    PutU32(out, at + 12, static_cast<uint32_t>(dataAt));
    if (image.dataSize >= 40) {
      PutU32(out, dataAt, 40);
      PutU32(out, dataAt + 4, static_cast<uint32_t>(image.headerWidth));
      PutU32(out, dataAt + 8, static_cast<uint32_t>(image.headerHeight));
      PutU16(out, dataAt + 12, 1);
      PutU16(out, dataAt + 14, image.bitCount);
      for (size_t b = 40; b < image.dataSize; ++b) out[dataAt + b] = static_cast<uint8_t>(0xA5 ^ i);
    }
    dataAt += image.dataSize;
  }
  return out;
}

// Where BuildIco puts the data of image `index`.
uint32_t DataOffset(const std::vector<FixtureImage>& images, size_t index) {
  uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
  for (size_t i = 0; i < index; ++i) offset += images[i].dataSize;
  return offset;
}

const FixtureImage k32x32Bits8{32, 0, 8, 32, 64};
const FixtureImage k48x48Bits32{48, 0, 32, 48, 96};
const FixtureImage k16x16Colors16{16, 16, 4, 16, 32};
const FixtureImage k16x16Bits8{16, 0, 8, 16, 32};
const FixtureImage k32x32Colors16{32, 16, 4, 32, 64};
const FixtureImage k256Bits32{0, 0, 32, 256, 512};

struct ChoiceCase {
  const char* name;
  std::vector<FixtureImage> images;
  int width;
  size_t chosenIndex;
};

void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << c.name; }

const ChoiceCase kChoiceCases[] = {
    // The application icon: the 8-bit image stores 0 as its colour count,
    // so nothing matches and the last image wins, for 16 and for 32 alike.
    {"ApplicationIconFor16", {k32x32Bits8, k48x48Bits32}, 16, 1},
    {"ApplicationIconFor32", {k32x32Bits8, k48x48Bits32}, 32, 1},
    {"SixteenColourSmallImageFirst", {k16x16Colors16, k32x32Bits8, k48x48Bits32}, 16, 0},
    {"SixteenColourSmallImageInTheMiddle", {k32x32Bits8, k16x16Colors16, k48x48Bits32}, 16, 1},
    {"SmallImageWithCountZeroIsPassedOver", {k16x16Bits8, k48x48Bits32}, 16, 1},
    {"FirstMatchWinsOverALaterOne", {k16x16Bits8, k16x16Colors16, {16, 200, 8, 16, 32}}, 16, 1},
    {"CountJustBelowSixteen", {{16, 15, 4, 16, 32}, k48x48Bits32}, 16, 1},
    {"CountOf255Matches", {{16, 255, 8, 16, 32}, k48x48Bits32}, 16, 0},
    {"RetryWidthFindsTheSixteenColour32", {k16x16Colors16, k32x32Colors16, k48x48Bits32}, 32, 1},
    {"RetryWidthPassesOverA16", {k16x16Colors16, k48x48Bits32}, 32, 1},
    {"WidthByteZeroIsNot16", {{0, 16, 4, 256, 512, 64}, k48x48Bits32}, 16, 1},
    {"OneImageIsAlsoTheLast", {k256Bits32}, 16, 0},
};

class ChooseIcoImageTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseIcoImageTest, ChoosesTheImage) {
  const ChoiceCase& c = GetParam();
  const std::vector<uint8_t> ico = BuildIco(c.images);
  const std::optional<IcoImage> image = ChooseIcoImage(ico, c.width);
  ASSERT_TRUE(image.has_value());
  const FixtureImage& expected = c.images[c.chosenIndex];
  EXPECT_EQ(image->offset, DataOffset(c.images, c.chosenIndex));
  EXPECT_EQ(image->size, expected.dataSize);
  EXPECT_EQ(image->width, expected.headerWidth);
  EXPECT_EQ(image->height, expected.headerHeight / 2);
  EXPECT_EQ(image->bitCount, expected.bitCount);
}

INSTANTIATE_TEST_SUITE_P(Cases, ChooseIcoImageTest, ::testing::ValuesIn(kChoiceCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChooseIcoImage, ApplicationIconGives48x48At32Bits) {
  const std::vector<uint8_t> ico = BuildIco({k32x32Bits8, k48x48Bits32});
  const std::optional<IcoImage> image = ChooseIcoImage(ico, kTrayIconWidth);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 48);
  EXPECT_EQ(image->height, 48);
  EXPECT_EQ(image->bitCount, 32);
}

TEST(ChooseIcoImage, TheSizeComesFromTheImageHeaderNotTheDirectory) {
  // A directory that claims 16 px over an image whose header says 20 x 24.
  const std::vector<uint8_t> ico = BuildIco({{16, 16, 4, 20, 48}});
  const std::optional<IcoImage> image = ChooseIcoImage(ico, 16);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 20);
  EXPECT_EQ(image->height, 24);
}

TEST(ChooseIcoImage, ACursorFileIsReadToo) {
  const std::vector<uint8_t> ico = BuildIco({k16x16Colors16}, kIcoTypeCursor);
  EXPECT_TRUE(ChooseIcoImage(ico, 16).has_value());
}

// Each case breaks one thing in a file that is otherwise valid.
struct BrokenCase {
  const char* name;
  std::vector<uint8_t> bytes;
};

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.name; }

std::vector<uint8_t> ApplicationIcon() { return BuildIco({k32x32Bits8, k48x48Bits32}); }

std::vector<uint8_t> Changed(std::vector<uint8_t> bytes, size_t at, uint8_t value) {
  bytes[at] = value;
  return bytes;
}

std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t size) {
  bytes.resize(size);
  return bytes;
}

std::vector<uint8_t> WithU32(std::vector<uint8_t> bytes, size_t at, uint32_t value) {
  PutU32(bytes, at, value);
  return bytes;
}

// Offsets into the two-image application icon fixture.
constexpr size_t kSecondEntry = 6 + 16;
constexpr size_t kSecondData = 6 + 32 + 64;

std::vector<BrokenCase> BrokenCases() {
  const std::vector<uint8_t> valid = ApplicationIcon();
  return {
      {"Empty", {}},
      {"OneByte", {0}},
      {"HeaderCutInTheCount", Cut(valid, 5)},
      {"HeaderOnly", Cut(valid, 6)},
      {"SecondRecordCut", Cut(valid, kSecondEntry + 15)},
      {"NonZeroFirstWord", Changed(valid, 0, 1)},
      {"NonZeroSecondByte", Changed(valid, 1, 1)},
      {"TypeZero", Changed(valid, 2, 0)},
      {"TypeThree", Changed(valid, 2, 3)},
      {"TypeInTheHighByte", Changed(Changed(valid, 2, 0), 3, 1)},
      {"ZeroCount", Changed(valid, 4, 0)},
      {"CountFarBeyondTheFile", Changed(Changed(valid, 4, 0xFF), 5, 0xFF)},
      {"ChosenDataPastTheEnd", Cut(valid, valid.size() - 1)},
      {"ChosenOffsetPastTheEnd", WithU32(valid, kSecondEntry + 12, 0x10000)},
      {"ChosenSizePastTheEnd", WithU32(valid, kSecondEntry + 8, 0x10000)},
      // Offset + size wraps round in 32 bits to a small number.
      {"OffsetPlusSizeWraps",
       WithU32(WithU32(valid, kSecondEntry + 12, 0xFFFFFFF0), kSecondEntry + 8, 0x20)},
      {"ChosenDataTooShortForAHeader", WithU32(valid, kSecondEntry + 8, 39)},
      {"HeaderSizeBelowForty", WithU32(valid, kSecondData, 12)},
      {"HeaderSizeBeyondTheData", WithU32(valid, kSecondData, 4000)},
      {"HeaderWidthZero", WithU32(valid, kSecondData + 4, 0)},
      {"HeaderWidthNegative", WithU32(valid, kSecondData + 4, 0xFFFFFFD0)},
      {"HeaderHeightOne", WithU32(valid, kSecondData + 8, 1)},
      {"HeaderHeightNegative", WithU32(valid, kSecondData + 8, 0xFFFFFFA0)},
  };
}

class BrokenIcoTest : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenIcoTest, GivesNoImage) {
  const BrokenCase& c = GetParam();
  EXPECT_FALSE(ChooseIcoImage(c.bytes, 16).has_value());
  EXPECT_FALSE(ChooseIcoImage(c.bytes, 32).has_value());
}

INSTANTIATE_TEST_SUITE_P(Cases, BrokenIcoTest, ::testing::ValuesIn(BrokenCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChooseIcoImage, TheValidFixtureItselfGivesAnImage) {
  // The broken cases above are this file with one change each.
  EXPECT_TRUE(ChooseIcoImage(ApplicationIcon(), 16).has_value());
}

TEST(ChooseIcoImage, RecordsAfterAMatchAreNotRead) {
  // The count claims far more records than the file holds. The first one
  // matches, so the choice stops there; needing the last image instead, the
  // same file has no valid choice.
  std::vector<uint8_t> ico = BuildIco({k16x16Colors16});
  PutU16(ico, 4, 0xFFFF);
  const std::optional<IcoImage> image = ChooseIcoImage(ico, 16);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 16);
  EXPECT_FALSE(ChooseIcoImage(ico, 32).has_value());
  EXPECT_FALSE(ReadIcoDirectory(ico).has_value());
}

TEST(ChooseIcoImage, DataEndingExactlyAtTheEndIsWithin) {
  const std::vector<uint8_t> ico = BuildIco({{16, 16, 4, 16, 32, 40}});
  const std::optional<IcoImage> image = ChooseIcoImage(ico, 16);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->offset + image->size, ico.size());
}

TEST(ChooseIcoImage, OnlyTheChosenImageDataIsChecked) {
  // The first image's data lies past the end, but the last one is chosen.
  std::vector<uint8_t> ico = ApplicationIcon();
  PutU32(ico, 6 + 12, 0x7FFFFFFF);
  const std::optional<IcoImage> image = ChooseIcoImage(ico, 16);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 48);
}

std::vector<uint8_t> PngIco(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colorType) {
  std::vector<uint8_t> ico = BuildIco({{0, 0, 32, 0, 0, 33}});
  const size_t at = 6 + 16;
  const uint8_t header[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                            0,    0,   0,   13,  'I',  'H',  'D',  'R'};
  std::copy(std::begin(header), std::end(header), ico.begin() + at);
  for (int i = 0; i < 4; ++i) {
    ico[at + 16 + i] = static_cast<uint8_t>(width >> (24 - 8 * i));
    ico[at + 20 + i] = static_cast<uint8_t>(height >> (24 - 8 * i));
  }
  ico[at + 24] = bitDepth;
  ico[at + 25] = colorType;
  return ico;
}

TEST(ChooseIcoImage, APngImageKeepsItsOwnHeight) {
  const std::optional<IcoImage> image = ChooseIcoImage(PngIco(256, 256, 8, 6), 16);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 256);
  EXPECT_EQ(image->height, 256);
  EXPECT_EQ(image->bitCount, 32);
  EXPECT_EQ(image->size, 33u);
}

TEST(ChooseIcoImage, APngImageOfNoSizeGivesNothing) {
  EXPECT_FALSE(ChooseIcoImage(PngIco(0, 256, 8, 6), 16).has_value());
  EXPECT_FALSE(ChooseIcoImage(PngIco(256, 0x80000000u, 8, 6), 16).has_value());
}

TEST(ReadIcoDirectory, ReadsEveryRecord) {
  const std::vector<FixtureImage> images = {k32x32Bits8, k256Bits32};
  const std::optional<IcoDirectory> directory = ReadIcoDirectory(BuildIco(images));
  ASSERT_TRUE(directory.has_value());
  EXPECT_EQ(directory->type, kIcoTypeIcon);
  ASSERT_EQ(directory->entries.size(), 2u);
  const IcoDirectoryEntry& first = directory->entries[0];
  EXPECT_EQ(first.width, 32);
  EXPECT_EQ(first.height, 32);
  EXPECT_EQ(first.colorCount, 0);
  EXPECT_EQ(first.planes, 1);
  EXPECT_EQ(first.bitCount, 8);
  EXPECT_EQ(first.size, 64u);
  EXPECT_EQ(first.offset, DataOffset(images, 0));
  // A stored 0 is 256.
  EXPECT_EQ(directory->entries[1].width, 256);
  EXPECT_EQ(directory->entries[1].height, 256);
  EXPECT_EQ(directory->entries[1].offset, DataOffset(images, 1));
}

TEST(ReadIcoDirectory, RejectsABrokenHeaderOrAMissingRecord) {
  const std::vector<uint8_t> valid = ApplicationIcon();
  EXPECT_FALSE(ReadIcoDirectory(Cut(valid, 5)).has_value());
  EXPECT_FALSE(ReadIcoDirectory(Changed(valid, 0, 1)).has_value());
  EXPECT_FALSE(ReadIcoDirectory(Changed(valid, 2, 3)).has_value());
  EXPECT_FALSE(ReadIcoDirectory(Changed(valid, 4, 0)).has_value());
  EXPECT_FALSE(ReadIcoDirectory(Cut(valid, kSecondEntry + 15)).has_value());
  EXPECT_TRUE(ReadIcoDirectory(Cut(valid, kSecondEntry + 16)).has_value());
}

}  // namespace
